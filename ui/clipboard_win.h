// Plain text on the clipboard.
#pragma once

#include <windows.h>

#include <string>

// Puts `text` on the clipboard as CF_TEXT (its bytes and a terminating zero). False when the
// clipboard could not be opened (it is unchanged then) or the text could not be placed (it is
// empty then). `owner` becomes the clipboard's owner; null for none.
bool CopyToClipboard(const std::string& text, HWND owner = nullptr);
