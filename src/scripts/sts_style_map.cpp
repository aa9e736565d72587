// CSTSStyleMap: owned styles by name.
#include "scripts/sts_style_map.h"

namespace quillary::scripts {

STSStyle* CSTSStyleMap::Lookup(const std::string& name) const
{
    const auto it = m_styles.find(name);
    return it == m_styles.end() ? nullptr : it->second.get();
}

STSStyle& CSTSStyleMap::SetAt(const std::string& name, std::unique_ptr<STSStyle> style)
{
    auto& slot = m_styles[name];
    slot = std::move(style);
    return *slot;
}

std::unique_ptr<STSStyle> CSTSStyleMap::Take(const std::string& name)
{
    const auto it = m_styles.find(name);
    if (it == m_styles.end()) {
        return nullptr;
    }
    auto style = std::move(it->second);
    m_styles.erase(it);
    return style;
}

} // namespace quillary::scripts
