// The few file operations the core needs, with one implementation per system
// (file_system_posix.cpp, file_system_windows.cpp), chosen by CMake.
//
// Paths are Windows-1252 bytes like every other text of the program; the
// implementation converts them to the system's own form.
#pragma once

#include <optional>
#include <string>

namespace lumaro::fs {

// Joins the program folder and a file name with the system's separator
// ("\" on Windows, "/" elsewhere). A folder that already ends with a
// separator gets none added.
std::string joinPath(const std::string& folder, const std::string& name);

// The path of the file called name in folder, found whatever the letter case
// of its name, as on Windows, where the host runs: "HALMOR.INI" answers for
// "Halmor.ini". An entry of exactly that name wins; among several that differ
// only in case, the first in byte order. The joined path with the name as
// given when there is none. (On Windows the system itself ignores case, and
// the name is given back as asked.)
std::string findInFolder(const std::string& folder, const std::string& name);

// Tries to open the file for shared reading and closes it again. Returns 0
// when that worked, otherwise the number of the matching row of the file-test
// table (52, 53, 55, 70, 71, 75, 76) or a code of our own for conditions the
// table does not know.
int probeOpenForReading(const std::string& path);

// True for an existing ordinary file (not a folder, device or hidden file).
bool isOrdinaryFile(const std::string& path);

// The whole content, or nothing when the file cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Appends the bytes and closes the file again; creates the file when missing.
// Returns false when the file could not be opened or written.
bool appendToFile(const std::string& path, const std::string& bytes);

// Writes the content to a temporary file in the same folder, flushes it to disk
// and renames it over path. On any failure the temporary file is removed and
// the old file is left exactly as it was; returns false.
bool replaceFileAtomically(const std::string& path, const std::string& content);

// Makes the folder and every folder above it that is missing. True when the
// folder is there afterwards.
bool createFolders(const std::string& path);

enum class NewFile { Written, NameTaken, Failed };

// Writes the content into a new file at path. The file appears under its name
// only once every byte is written and flushed to disk, so that nobody (the
// user, a run killed meanwhile) ever sees part of it there. A file or folder
// already at path is never replaced: NameTaken, and nothing is written. On
// Failed (a full disk, a folder we may not write into) nothing is left behind.
NewFile writeNewFile(const std::string& path, const std::string& content);

// Deletes the file; false when it could not be deleted.
bool removeFile(const std::string& path);

}  // namespace lumaro::fs
