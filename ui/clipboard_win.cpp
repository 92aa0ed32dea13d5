#include "ui/clipboard_win.h"

#include <cstring>

namespace {

// Open clipboard, closed again at the end of the scope.
class CClipboardSession {
public:
    explicit CClipboardSession(HWND owner) : m_bOpen(::OpenClipboard(owner) != FALSE) {}
    ~CClipboardSession() {
        if (m_bOpen)
            ::CloseClipboard();
    }
    CClipboardSession(const CClipboardSession&) = delete;
    CClipboardSession& operator=(const CClipboardSession&) = delete;
    bool IsOpen() const { return m_bOpen; }

private:
    bool m_bOpen;
};

// A global memory block, freed unless handed over.
class CGlobalBlock {
public:
    explicit CGlobalBlock(SIZE_T size) : m_h(::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size)) {}
    ~CGlobalBlock() {
        if (m_h != nullptr)
            ::GlobalFree(m_h);
    }
    CGlobalBlock(const CGlobalBlock&) = delete;
    CGlobalBlock& operator=(const CGlobalBlock&) = delete;
    HGLOBAL Get() const { return m_h; }
    void Release() { m_h = nullptr; }

private:
    HGLOBAL m_h;
};

}  // namespace

bool CopyToClipboard(const std::string& text, HWND owner) {
    CClipboardSession clipboard(owner);
    if (!clipboard.IsOpen())
        return false;
    ::EmptyClipboard();
    CGlobalBlock block(text.size() + 1);
    if (block.Get() == nullptr)
        return false;
    char* bytes = static_cast<char*>(::GlobalLock(block.Get()));
    if (bytes == nullptr)
        return false;
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    ::GlobalUnlock(block.Get());
    if (::SetClipboardData(CF_TEXT, block.Get()) == nullptr)
        return false;  // still ours: freed by the block
    block.Release();   // the clipboard's from now on
    return true;
}
