#include "domains/domain_array.h"

#include "framework/text.h"

bool IsSupportedExtension(std::string_view ext) {
    return ext == "com" || ext == "net" || ext == "org" || ext == "edu" || ext == "biz" ||
           ext == "info";
}

bool CDomainArray::AddName(const std::string& name) {
    if (GetCount() >= MAX_DOMAINS)
        return false;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos &&
        !IsSupportedExtension(ToLower(std::string_view(name).substr(dot + 1)))) {
        return false;
    }
    return Append(std::make_unique<CDomainData>(name));
}

bool CDomainArray::Append(std::unique_ptr<CDomainData> record) {
    if (!record || GetCount() >= MAX_DOMAINS)
        return false;
    m_records.push_back(std::move(record));
    return true;
}

CDomainData* CDomainArray::GetRecord(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_records[static_cast<size_t>(index)].get();
}

int CDomainArray::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (EqualsNoCase(m_records[i]->m_strName, name))
            return static_cast<int>(i);
    }
    return -1;
}

CDomainData* CDomainArray::Find(std::string_view name) const {
    return GetRecord(IndexOf(name));
}

bool CDomainArray::RemoveName(std::string_view name) {
    const int i = IndexOf(name);
    if (i < 0)
        return false;
    m_records.erase(m_records.begin() + i);
    return true;
}

void CDomainArray::RemoveAllRecords() {
    while (!m_records.empty()) m_records.pop_back();
}

bool CDomainArray::SetState(std::string_view name, int state, const CDateTime& checked) {
    CDomainData* r = Find(name);
    if (!r)
        return false;
    r->m_nState = state;
    r->m_dtChecked = checked;
    return true;
}

#define QUORVIX_SETTER(Method, Type, field)                           \
    bool CDomainArray::Method(std::string_view name, const Type& v) { \
        CDomainData* r = Find(name);                                  \
        if (!r)                                                       \
            return false;                                             \
        r->field = v;                                                 \
        return true;                                                  \
    }

QUORVIX_SETTER(SetStatusText, std::string, m_strStatus)
QUORVIX_SETTER(SetRegistrar, std::string, m_strRegistrar)
QUORVIX_SETTER(SetWhoisServer, std::string, m_strWhoisServer)
QUORVIX_SETTER(SetCreated, CDateTime, m_dtCreated)
QUORVIX_SETTER(SetExpires, CDateTime, m_dtExpires)
QUORVIX_SETTER(SetUpdated, CDateTime, m_dtUpdated)
QUORVIX_SETTER(SetWhoisText, std::string, m_strWhoisText)

#undef QUORVIX_SETTER
