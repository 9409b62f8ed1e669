#pragma once
/// What the build records about the program in its version block: the project version from
/// CMake and the fixed strings of versinfo/CMakeLists.txt. Defined in a source file that CMake
/// generates from BuildVersion.cpp.in.

#include <QtGlobal>

namespace r73 {

struct BuildVersion
{
    quint16 major;
    quint16 minor;
    quint16 patch;
    quint16 tweak;
    /// The target-OS value of the fixed file information.
    quint32 fileOS;
    quint16 languageId;
    quint16 codePage;
    // UTF-8 texts of the string table.
    const char* companyName;
    const char* fileDescription;
    const char* fileVersion;
    const char* internalName;
    const char* legalCopyright;
    const char* originalFilename;
    const char* productName;
    const char* productVersion;
};

const BuildVersion& buildVersion();

} // namespace r73
