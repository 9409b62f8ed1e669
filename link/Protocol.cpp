#include "Protocol.h"

#include "Target.h"

namespace r73 {

TService::TService(TTarget* link, const QString& name) : m_link(link)
{
    if (m_link) m_index = m_link->RegisterName(name);
}

quint16 TService::Execute()
{
    return m_link ? m_link->CallFunction(m_index) : 1;
}

quint16 TService::Resolve()
{
    TWordList* table = m_link ? m_link->WordList() : nullptr;
    if (!table || m_index < 0) return 1;
    const quint16 id = m_link->ResolveName(table->name(m_index));
    table->setId(m_index, id);
    return id == 0 ? 1 : 0;
}

} // namespace r73
