#include "app/date_format_win.h"

#include <windows.h>

#include <oleauto.h>

#include "ui/cell_text.h"

namespace {

// Owns one BSTR.
class CBstr {
public:
    CBstr() = default;
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    ~CBstr() { SysFreeString(m_b); }
    BSTR* Out() { return &m_b; }
    BSTR Get() const { return m_b; }

private:
    BSTR m_b = nullptr;
};

std::string ToAnsi(BSTR text) {
    if (!text)
        return std::string();
    const int wide = static_cast<int>(SysStringLen(text));
    if (wide == 0)
        return std::string();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wide, out.data(), bytes, nullptr, nullptr);
    return out;
}

}  // namespace

std::string FormatShortDate(const CDateTime& dt) {
    if (!dt.IsValid())
        return std::string();
    CBstr text;
    if (SUCCEEDED(
            VarBstrFromDate(dt.GetDays(), LOCALE_USER_DEFAULT, VAR_DATEVALUEONLY, text.Out()))) {
        std::string out = ToAnsi(text.Get());
        if (!out.empty())
            return out;
    }
    return FormatNumericDate(dt);
}
