// Real files and folders in the test prefix, reached through the platform as the engine reaches them.
#pragma once
#include <string>

namespace quenby::test {

void WriteFileText(const std::string& path, const std::string& text);
// The file's bytes, or "<missing>" when there is no such file.
std::string ReadFileText(const std::string& path);
bool IsFolder(const std::string& path);
bool FileExists(const std::string& path);
void MakeFolder(const std::string& path);  // with its missing parents
void RemoveTree(const std::string& path);  // a file or a folder with everything in it
void CopyTree(const std::string& from, const std::string& to);  // a folder with everything in it

}  // namespace quenby::test
