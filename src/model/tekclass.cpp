#include "model/tekclass.h"

namespace vesk {

namespace {
uint64_t g_serialCounter = 1;
}

uint64_t TekClass::NextSerialNumber()
{
    return g_serialCounter++;
}

uint64_t TekClass::PeekSerialNumber()
{
    return g_serialCounter;
}

void TekClass::RestoreSerialNumber(uint64_t next)
{
    g_serialCounter = next;
}

TekClass::TekClass(NodeType type) : m_type(type), m_serialNumber(NextSerialNumber()) {}

TekClass::TekClass(NodeType type, const std::shared_ptr<ItemValueStore>& store)
    : m_type(type), m_items(store), m_serialNumber(NextSerialNumber())
{
}

const std::string& TekClass::GetItem(std::string_view name) const
{
    static const std::string empty;
    const CItemData* item = m_items.Find(name);
    return item ? item->Value() : empty;
}

bool TekClass::SetItem(std::string_view name, std::string value)
{
    CItemData* item = m_items.Find(name);
    if (!item)
        return false;
    item->SetValue(std::move(value));
    return true;
}

void TekClass::SetOrAddItem(std::string_view name, std::string value)
{
    if (!SetItem(name, value))
        m_items.Add(CItemData::OfReadName(name, std::move(value)));
}

std::string TekClass::GetLabel() const
{
    return "Name(" + GetItem("Name") + ")";
}

void TekClass::CopyFrom(const TekClass& source)
{
    m_type = source.m_type;
    m_expanded = source.m_expanded;
    m_serialNumber = source.m_serialNumber;
    m_items = source.m_items.Clone();
}

bool TekClass::SameItems(const TekClass& other) const
{
    if (m_items.Count() != other.m_items.Count())
        return false;
    for (int i = 0; i < m_items.Count(); ++i) {
        const CItemData& a = m_items.At(i);
        const CItemData& b = other.m_items.At(i);
        // Copies share definitions and most values; only differing ones need comparing.
        if (&a.Def() != &b.Def() && a.Name() != b.Name())
            return false;
        if (&a.Value() != &b.Value() && a.Value() != b.Value())
            return false;
    }
    return true;
}

int TekClass::AddCommand(TekPtr)
{
    return 0;
}

} // namespace vesk
