#include "domains/domain_data.h"

void CDomainData::Reset() {
    m_nState = STATE_UNCHECKED;
    m_dtChecked = CDateTime::Null();
    m_strStatus.clear();
    m_dtCreated = CDateTime::Null();
    m_dtExpires = CDateTime::Null();
    m_dtUpdated = CDateTime::Null();
    m_strRegistrar.clear();
    m_strWhoisServer.clear();
    m_strWhoisText.clear();
}
