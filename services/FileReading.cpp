#include "FileReading.h"

#include "FileWriting.h"

namespace kx {

bool WriteBytesToFile(const AnsiString& path, const std::string& bytes) {
    try {
        WriteWholeFile(path, bytes);
        return true;
    } catch (const KxError&) {
        return false;
    }
}

}  // namespace kx
