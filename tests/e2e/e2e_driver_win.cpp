// Drives a running quorvix.exe from another process, the way a user would: prepares its data file
// and registry, presses Lookup All, waits for the list to fill in, closes the window and checks the
// saved list. Every step prints what it saw and ends with exit code 0 on success.
//
//   e2e_driver prepare <folder> <server>   data file with the sample names, servers in the registry
//   e2e_driver lookup-all <seconds>        Lookup All, then wait until every row is checked
//   e2e_driver close <seconds>             the Close button, then wait until the window is gone
//   e2e_driver verify <data file>          the saved list holds the expected results
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "domains/data_file.h"
#include "domains/domain_array.h"
#include "res/resource.h"

namespace {

const char kCaption[] = "Quorvix (for global top level domains)";
const char kIdleStatus[] = "Domains in whois queue = 0 (0 lookups active)";
const char kProfileKey[] = "Software\\Corvane Technologies\\quorvix";

// Names containing "free" get the fake server's "not found" answers.
const char* const kSampleNames[] = {
    "freebird-loopback.com", "example-taken.com", "freshly-free.net", "quorvix-demo.org",
    "freedom-test.info",     "takenname.biz",     "free-campus.edu",  "busy-registrar.com",
    "registered-one.net",    "free-for-all.org",  "taken-info.info",  "somefreebiz.biz",
};
const char* const kExtensions[] = {"com", "net", "org", "edu", "biz", "info"};

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

bool SetString(HKEY root, const std::string& subkey, const char* name, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const LONG rc =
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool SetDword(HKEY root, const std::string& subkey, const char* name, DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const LONG rc = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                   sizeof(value));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

std::string GetString(HKEY root, const std::string& subkey, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    char buffer[512] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    const LONG rc =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return {};
    return std::string(buffer);
}

int Prepare(const std::string& folder, const std::string& server) {
    CDomainArray domains;
    for (const char* name : kSampleNames) {
        if (!domains.AddName(name)) {
            std::printf("prepare: the list refused %s\n", name);
            return 1;
        }
    }
    const std::string path = folder + "\\quorvix.dcd";
    if (!SaveDomainFile(path, domains)) {
        std::printf("prepare: cannot write %s\n", path.c_str());
        return 1;
    }
    // Every extension the list accepts asks the fake server; its limits let five lookups start
    // at every tick.
    for (const char* ext : kExtensions) {
        const std::string section = std::string(kProfileKey) + "\\" + ext;
        if (!SetString(HKEY_CURRENT_USER, section, "Server", server)) {
            std::printf("prepare: cannot write the registry\n");
            return 1;
        }
        // A stored server goes with the stored prefix: .com, .net and .edu ask "domain <name>".
        const std::string name = ext;
        const bool prefixed = name == "com" || name == "net" || name == "edu";
        SetString(HKEY_CURRENT_USER, section, "Query Prefix", prefixed ? "domain" : "");
    }
    const std::string serverSection = std::string(kProfileKey) + "\\" + server;
    SetDword(HKEY_CURRENT_USER, serverSection, "Max Connections", 10);
    SetDword(HKEY_CURRENT_USER, serverSection, "Connection Interval", 0);
    std::printf("prepare: %d names in %s, servers at %s\n", domains.GetCount(), path.c_str(),
                server.c_str());
    return 0;
}

HWND WaitForWindow(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND hWnd = FindWindowA(nullptr, kCaption);
        if (hWnd && IsWindowVisible(hWnd))
            return hWnd;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(200);
    }
}

std::string StatusText(HWND hWnd) {
    char buffer[256] = {};
    GetDlgItemTextA(hWnd, IDC_QUEUE_STATUS, buffer, sizeof(buffer));
    return buffer;
}

// Reads cell texts of the list in the other process: the request and its text buffer must live
// in that process's memory, so they are placed there and copied back.
class CRemoteListReader {
public:
    explicit CRemoteListReader(HWND hList) : m_hList(hList) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hList, &pid);
        m_hProcess = OpenProcess(
            PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
            FALSE, pid);
        if (m_hProcess) {
            m_pRemote = static_cast<char*>(VirtualAllocEx(
                m_hProcess, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        }
    }
    ~CRemoteListReader() {
        if (m_pRemote)
            VirtualFreeEx(m_hProcess, m_pRemote, 0, MEM_RELEASE);
        if (m_hProcess)
            CloseHandle(m_hProcess);
    }
    CRemoteListReader(const CRemoteListReader&) = delete;
    CRemoteListReader& operator=(const CRemoteListReader&) = delete;

    bool IsReady() const { return m_pRemote != nullptr; }

    bool GetText(int row, int column, std::string& text) {
        if (!m_pRemote)
            return false;
        char* remoteText = m_pRemote + sizeof(LVITEMA);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = remoteText;
        item.cchTextMax = kTextMax;
        const char zero[1] = {0};
        SIZE_T done = 0;
        if (!WriteProcessMemory(m_hProcess, m_pRemote, &item, sizeof(item), &done) ||
            !WriteProcessMemory(m_hProcess, remoteText, zero, 1, &done)) {
            return false;
        }
        SendMessageA(m_hList, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(m_pRemote));
        char buffer[kTextMax + 1] = {};
        if (!ReadProcessMemory(m_hProcess, remoteText, buffer, kTextMax, &done))
            return false;
        buffer[kTextMax] = 0;
        text = buffer;
        return true;
    }

private:
    static constexpr int kTextMax = 512;
    static constexpr SIZE_T kSize = sizeof(LVITEMA) + kTextMax + 16;
    HWND m_hList;
    HANDLE m_hProcess = nullptr;
    char* m_pRemote = nullptr;
};

bool IsCheckedStatus(const std::string& status) {
    return status == "<#FF0000>Free" || status == "<#0000FF>NA";
}

int LookupAll(int seconds) {
    HWND hWnd = WaitForWindow(30000);
    if (!hWnd) {
        std::printf("lookup-all: no window \"%s\"\n", kCaption);
        return 1;
    }
    HWND hList = GetDlgItem(hWnd, IDC_DOMAIN_LIST);
    const int rows = static_cast<int>(SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    const int expected = static_cast<int>(sizeof(kSampleNames) / sizeof(kSampleNames[0]));
    std::printf("lookup-all: window found, %d rows\n", rows);
    if (rows != expected) {
        std::printf("lookup-all: expected %d rows from the data file\n", expected);
        return 1;
    }
    CRemoteListReader reader(hList);
    if (!reader.IsReady()) {
        std::printf("lookup-all: cannot read the list of the other process\n");
        return 1;
    }
    PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOOKUP_ALL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hWnd, IDC_LOOKUP_ALL)));

    const DWORD start = GetTickCount();
    std::string last;
    for (;;) {
        Sleep(250);
        const std::string status = StatusText(hWnd);
        if (status != last) {
            std::printf("lookup-all: status \"%s\"\n", status.c_str());
            last = status;
        }
        if (status == kIdleStatus) {
            int checked = 0;
            for (int row = 0; row < rows; ++row) {
                std::string cell;
                if (reader.GetText(row, 2, cell) && IsCheckedStatus(cell))
                    ++checked;
            }
            if (checked == rows)
                break;
        }
        if (GetTickCount() - start > static_cast<DWORD>(seconds) * 1000) {
            std::printf("lookup-all: not every row was checked within %d seconds\n", seconds);
            return 1;
        }
    }
    int failures = 0;
    for (int row = 0; row < rows; ++row) {
        std::string number, name, status, created, registrar;
        reader.GetText(row, 0, number);
        reader.GetText(row, 1, name);
        reader.GetText(row, 2, status);
        reader.GetText(row, 3, created);
        reader.GetText(row, 8, registrar);
        std::printf("  %-3s %-24s %-14s %-12s %s\n", number.c_str(), name.c_str(), status.c_str(),
                    created.c_str(), registrar.c_str());
        const bool free = Contains(name, "free");
        if (number != std::to_string(row + 1) ||
            status != (free ? "<#FF0000>Free" : "<#0000FF>NA") ||
            (!free && (created.empty() || registrar != "Loopback Names Registrar, Inc."))) {
            ++failures;
        }
    }
    std::printf("lookup-all: %d rows checked, %d wrong\n", rows, failures);
    return failures == 0 ? 0 : 1;
}

int Close(int seconds) {
    HWND hWnd = WaitForWindow(10000);
    if (!hWnd) {
        std::printf("close: no window\n");
        return 1;
    }
    PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hWnd, IDOK)));
    const DWORD start = GetTickCount();
    while (IsWindow(hWnd)) {
        if (GetTickCount() - start > static_cast<DWORD>(seconds) * 1000) {
            std::printf("close: the window is still open after %d seconds\n", seconds);
            return 1;
        }
        Sleep(200);
    }
    std::printf("close: window closed\n");
    return 0;
}

bool IsDate(const CDateTime& dt, int year, int month, int day) {
    int y = 0, m = 0, d = 0;
    return dt.GetDate(y, m, d) && y == year && m == month && d == day;
}

int Verify(const std::string& path) {
    CDomainArray domains;
    if (!LoadDomainFile(path, domains)) {
        std::printf("verify: cannot read %s\n", path.c_str());
        return 1;
    }
    const int expected = static_cast<int>(sizeof(kSampleNames) / sizeof(kSampleNames[0]));
    int failures = 0;
    if (domains.GetCount() != expected) {
        std::printf("verify: %d records, expected %d\n", domains.GetCount(), expected);
        ++failures;
    }
    for (int i = 0; i < domains.GetCount() && i < expected; ++i) {
        const CDomainData& r = *domains.GetRecord(i);
        const bool free = Contains(r.m_strName, "free");
        bool ok =
            r.m_strName == kSampleNames[i] && r.m_dtChecked.IsValid() && !r.m_strWhoisText.empty();
        if (free) {
            ok = ok && r.m_nState == STATE_FREE;
        } else {
            ok = ok && r.m_nState == STATE_TAKEN &&
                 r.m_strRegistrar == "Loopback Names Registrar, Inc." &&
                 r.m_strWhoisServer == "whois.loopback-names.test" &&
                 IsDate(r.m_dtCreated, 2001, 3, 14) && IsDate(r.m_dtExpires, 2031, 3, 14) &&
                 IsDate(r.m_dtUpdated, 2024, 6, 1);
        }
        std::printf("  %-24s state %d %s\n", r.m_strName.c_str(), r.m_nState, ok ? "ok" : "WRONG");
        if (!ok)
            ++failures;
    }
    const std::string placement =
        GetString(HKEY_CURRENT_USER, std::string(kProfileKey) + "\\Settings", "WindowPos");
    std::printf("verify: WindowPos \"%s\"\n", placement.c_str());
    if (placement.empty())
        ++failures;
    std::printf("verify: %d problems\n", failures);
    return failures == 0 ? 0 : 1;
}

int Usage() {
    std::printf(
        "usage: e2e_driver prepare <folder> <server> | lookup-all <seconds> | close <seconds> | "
        "verify <data file>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const std::string mode = argv[1];
    int rc = 2;
    if (mode == "prepare" && argc == 4) {
        rc = Prepare(argv[2], argv[3]);
    } else if (mode == "lookup-all") {
        rc = LookupAll(std::atoi(argv[2]));
    } else if (mode == "close") {
        rc = Close(std::atoi(argv[2]));
    } else if (mode == "verify") {
        rc = Verify(argv[2]);
    } else {
        rc = Usage();
    }
    std::fflush(stdout);
    return rc;
}
