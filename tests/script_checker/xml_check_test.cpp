// The tests' XML reader refuses what an XML parser refuses, so a project file
// it accepts opens.
#include <gtest/gtest.h>

#include "XmlCheck.h"

namespace kx::script::test {
namespace {

TEST(XmlCheck, TellsWellFormedDocumentsFromBrokenOnes) {
    const std::string declaration = "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\r\n";
    const struct {
        std::string document;
        bool wellFormed;
        std::string rootText;  // the root's character data, when well-formed
    } cases[] = {
        {declaration + "<P><E>a&amp;b.kx</E><X/></P>\r\n", true, ""},
        {"<P a=\"1\" b='&quot;'>&lt;x&gt; &apos;&#20013;&#x6587;<!-- c --><![CDATA[<&]]></P>", true,
         u8"<x> '中文<&"},
        {"<P>\xE4\xB9\xB0&amp;\xE5\x8D\x96</P>", true, u8"买&卖"},
        {declaration + "<P><E>a&b.kx</E></P>", false, ""},   // "&" that is no reference
        {"<P>a &amp b</P>", false, ""},
        {"<P>&nbsp;</P>", false, ""},                       // no such entity without a DTD
        {"<P><x></P>", false, ""},                          // "<" opens a tag
        {"<P>a<b</P>", false, ""},
        {"<P></Q>", false, ""},
        {"<P>", false, ""},
        {"<P/><Q/>", false, ""},
        {"<P a=\"<\"/>", false, ""},
        {"<P a=1/>", false, ""},
        {"<P a='1' a='2'/>", false, ""},
        {"<P>]]></P>", false, ""},
        {"<P><!-- a -- b --></P>", false, ""},
        {"<P>&#0;</P>", false, ""},
        {"<P>\x01</P>", false, ""},
        {"", false, ""},
        {"<P/>" + declaration, false, ""},
    };
    for (const auto& c : cases) {
        XmlElement root;
        std::string error;
        const bool ok = ParseXml(c.document, root, error);
        EXPECT_EQ(ok, c.wellFormed) << c.document << "\n" << error;
        if (ok) {
            EXPECT_EQ(root.text, c.rootText) << c.document;
        }
    }
}

TEST(XmlCheck, GivesTheTree) {
    XmlElement root;
    std::string error;
    ASSERT_TRUE(ParseXml("<P>\r\n<I><E>a&amp;b.kx</E></I>\r\n<L></L></P>", root, error)) << error;
    EXPECT_EQ(root.name, "P");
    ASSERT_NE(root.Child("I"), nullptr);
    ASSERT_NE(root.Child("I")->Child("E"), nullptr);
    EXPECT_EQ(root.Child("I")->Child("E")->text, "a&b.kx");
    EXPECT_EQ(root.Child("E"), nullptr);
    EXPECT_EQ(root.text, "\r\n\r\n");
}

}  // namespace
}  // namespace kx::script::test
