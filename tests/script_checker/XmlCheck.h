// A small XML reader for the tests: it accepts only well-formed documents
// (XML 1.0 without a document type declaration) and gives back the tree.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kx::script::test {

struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;  // values with references resolved
    std::string text;  // the element's own character data, references resolved
    std::vector<XmlElement> children;

    // The first child of that name; nullptr when there is none.
    const XmlElement* Child(const std::string& childName) const;
};

// Reads a UTF-8 document (without byte-order mark). On the first
// well-formedness error it returns false and says where and what in error.
bool ParseXml(const std::string& utf8, XmlElement& root, std::string& error);

}  // namespace kx::script::test
