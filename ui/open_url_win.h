// Opening an address in the default web browser: the shell first, then the program registered
// for web pages (".htm") with the address in double quotes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The platform calls behind OpenUrl, replaceable so tests never start a browser.
struct CUrlLauncher {
    // ShellExecuteA "open"; a result above 32 is success.
    std::function<INT_PTR(const std::string& address, int showCmd)> shellOpen;
    // WinExec of a command line.
    std::function<UINT(const std::string& commandLine, int showCmd)> runCommand;
    // Where ".htm" and its open command are looked up.
    HKEY classesRoot = HKEY_CLASSES_ROOT;
};

// ShellExecuteA, WinExec and HKEY_CLASSES_ROOT.
CUrlLauncher SystemUrlLauncher();
// Installs the launcher OpenUrl uses; returns the previous one.
CUrlLauncher SetUrlLauncher(CUrlLauncher launcher);

// The unnamed value of `root`\`key` when it is text of at most 260 bytes; empty otherwise
// (missing, longer, not text). False when the key cannot be opened.
bool ReadUnnamedValue(HKEY root, const std::string& key, std::string& value);

// Opens `address` with the installed launcher. The shell's result when above 32, or when the
// registered program cannot be found; otherwise the result of running that program. An address
// holding a double quote or a control byte is not opened (0).
INT_PTR OpenUrl(const std::string& address, int showCmd);
INT_PTR OpenUrlWith(const CUrlLauncher& launcher, const std::string& address, int showCmd);
