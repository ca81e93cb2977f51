// Writes a plain-text report of what an installation left on this machine, for the demo:
//
//   install_report <instructions file> <destination directory> <report file>
//
// The instructions file (Quenby.ipi) names what to look for: the files below the destination with their
// sizes, the [Dirs], the system files in the Windows directory, the product's registry keys, the system
// uninstall entry (in the registry view of the Setup.exe beside the instructions), the shared-file
// counters, the Start Menu group's links with their targets, the sources that Setup.exe checked against
// [Checksums] (from its installation log), and the uninstall record Quenby.upi as it
// stands. Ends with 0, or 2 on a wrong command line.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Host.h"
#include "ShellLinkReader.h"
#include "base/InstallRecord.h"
#include "win/RegistryKey.h"

using namespace quenby;

namespace {

class TReport {
public:
    TReport(std::string instructions, std::string destination)
        : m_ini(std::move(instructions)), m_destination(std::move(destination)) {}

    std::string Make() {
        std::string product = Setting("Application", "") + " " + Setting("Version", "");
        m_out << "Installation of " << product << " into " << m_destination << "\n";
        Files();
        Checksums();
        Registry();
        Links();
        m_out << "\n== Uninstall record " << UninstallRecordPath(m_destination) << "\n";
        std::ifstream record(UninstallRecordPath(m_destination), std::ios::binary);
        std::string line;
        if (!record) m_out << "  (missing)\n";
        while (std::getline(record, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            m_out << "  " << line << "\n";
        }
        return m_out.str();
    }

private:
    std::string Setting(const char* key, const char* fallback) const {
        char value[1024] = {};
        GetPrivateProfileStringA("Settings", key, fallback, value, sizeof value, m_ini.c_str());
        return value;
    }

    // Key names of a section (with their values when `values` is given), in file order.
    std::vector<std::string> Keys(const char* section, std::vector<std::string>* values = nullptr) const {
        std::vector<char> names(32768);
        DWORD length = GetPrivateProfileStringA(section, nullptr, "", names.data(), static_cast<DWORD>(names.size()),
                                                m_ini.c_str());
        std::vector<std::string> keys;
        for (DWORD i = 0; i < length; i += static_cast<DWORD>(keys.back().size()) + 1) {
            keys.emplace_back(names.data() + i);
            if (values) {
                char value[1024] = {};
                GetPrivateProfileStringA(section, keys.back().c_str(), "", value, sizeof value, m_ini.c_str());
                values->emplace_back(value);
            }
        }
        return keys;
    }

    void Size(const std::filesystem::path& file, const std::string& shownAs) {
        std::error_code error;
        auto size = std::filesystem::file_size(file, error);
        char line[600];
        if (error)
            std::snprintf(line, sizeof line, "  %10s  %s\n", "missing", shownAs.c_str());
        else
            std::snprintf(line, sizeof line, "  %10llu  %s\n", static_cast<unsigned long long>(size), shownAs.c_str());
        m_out << line;
    }

    void Files() {
        m_out << "\n== Files below " << m_destination << " (bytes)\n";
        std::error_code error;
        for (auto it = std::filesystem::recursive_directory_iterator(m_destination, error);
             !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
            std::string relative = std::filesystem::relative(it->path(), m_destination, error).string();
            if (it->is_directory(error))
                m_out << "  " << std::string(10, ' ') << "  " << relative << "\\\n";
            else
                Size(it->path(), relative);
        }
        if (error) m_out << "  (cannot list: " << error.message() << ")\n";

        std::vector<std::string> placements;
        std::vector<std::string> dirs = Keys("Dirs", &placements);
        m_out << "\n== Directories of [Dirs]\n";
        for (std::size_t i = 0; i < dirs.size(); ++i) {
            std::string path = placements[i] == "0" ? m_destination + "\\" + dirs[i] : dirs[i];
            DWORD attributes = GetFileAttributesA(path.c_str());
            bool present = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
            m_out << "  " << path << (present ? "" : "  (missing)") << "\n";
        }

        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        m_out << "\n== System files in " << windows << " (bytes)\n";
        for (const std::string& name : Keys("SysFilesOut")) Size(std::filesystem::path(windows) / name, name);
    }

    // Each source that [Checksums] lists, and whether the installation log says Setup.exe checked it.
    void Checksums() {
        m_out << "\n== Checksums of the medium ([Checksums], checked by Setup.exe before copying)\n";
        std::ifstream file(InstallLogPath(m_destination), std::ios::binary);
        const std::string log((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const std::vector<std::string> names = Keys("Checksums");
        if (names.empty()) m_out << "  (none listed)\n";
        for (const std::string& name : names) {
            const bool checked = log.find("checked\t" + name + "\r\n") != std::string::npos;
            m_out << "  " << (checked ? "checked    " : "NOT checked") << "  " << name << "\n";
        }
    }

    void Key(HKEY root, const std::string& rootName, const std::string& path) {
        const std::optional<TRegistryKey> key = TRegistryKey::Open(root, path, KEY_READ);
        if (!key) {
            m_out << "  " << rootName << "\\" << path << "  (missing)\n";
            return;
        }
        m_out << "  " << rootName << "\\" << path << "\n";
        for (DWORD i = 0;; ++i) {
            char name[256] = {};
            BYTE data[1024] = {};
            DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
            if (RegEnumValueA(key->Get(), i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
            m_out << "      " << name << " = ";
            if (type == REG_SZ)
                m_out << "\"" << reinterpret_cast<const char*>(data) << "\"\n";
            else if (type == REG_DWORD)
                m_out << *reinterpret_cast<const DWORD*>(data) << " (REG_DWORD)\n";
            else
                m_out << "(type " << type << ")\n";
        }
        std::vector<std::string> subkeys;
        for (DWORD i = 0;; ++i) {
            char name[256] = {};
            DWORD size = sizeof name;
            if (RegEnumKeyExA(key->Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            subkeys.emplace_back(name);
        }
        for (const std::string& subkey : subkeys) Key(root, rootName, path + "\\" + subkey);
    }

    void Registry() {
        m_out << "\n== Registry\n";
        std::vector<std::string> values;
        Keys("Keys", &values);
        if (!values.empty()) {
            std::string base = values.front();
            if (!base.empty() && base.front() == '\\') base.erase(0, 1);
            Key(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", base);
        }
        // A 32-bit Setup.exe beside the instructions writes the machine's keys into the 32-bit view.
        const bool narrow = drive::Is32BitProgram((std::filesystem::path(m_ini).parent_path() / "Setup.exe").string());
        Key(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE",
            std::string(narrow ? "SOFTWARE\\WOW6432Node" : "SOFTWARE") +
                "\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + Setting("Application", ""));
        Key(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", kCountersKey);
    }

    void Links() {
        char programs[MAX_PATH] = {};
        SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
        const std::string group = std::string(programs) + "\\" + Setting("ProgGroup", "Tavix");
        m_out << "\n== Start Menu group " << group << "\n";
        std::error_code error;
        std::vector<std::filesystem::path> links;
        for (const auto& entry : std::filesystem::directory_iterator(group, error))
            if (entry.path().extension() == ".lnk") links.push_back(entry.path());
        if (error) m_out << "  (missing)\n";
        std::sort(links.begin(), links.end());
        for (const auto& path : links) {
            auto link = drive::ReadShellLink(path.string());
            m_out << "  " << path.filename().string() << " -> ";
            if (!link) {
                m_out << "(unreadable)\n";
                continue;
            }
            m_out << link->Target << (link->Arguments.empty() ? "" : " " + link->Arguments) << "  (title \""
                  << link->Description << "\")\n";
        }
    }

    std::string m_ini, m_destination;
    std::ostringstream m_out;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: install_report <instructions file> <destination directory> <report file>\n");
        return 2;
    }
    const HRESULT com = CoInitialize(nullptr);
    std::string report = TReport(argv[1], argv[2]).Make();
    if (SUCCEEDED(com)) CoUninitialize();
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out << report;
    std::fputs(report.c_str(), stdout);
    return out.flush() ? 0 : 1;
}
