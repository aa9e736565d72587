// CSTSStyleMap: the styles of a script by name (case-sensitive), each owned by the map.
#pragma once

#include "scripts/sts_style.h"

#include <map>
#include <memory>
#include <string>

namespace quillary::scripts {

class CSTSStyleMap {
public:
    using Map = std::map<std::string, std::unique_ptr<STSStyle>>;

    [[nodiscard]] STSStyle* Lookup(const std::string& name) const;
    [[nodiscard]] bool Contains(const std::string& name) const { return m_styles.contains(name); }
    // Stores `style` under `name`, replacing (and deleting) a style stored there before.
    STSStyle& SetAt(const std::string& name, std::unique_ptr<STSStyle> style);
    // Removes the style stored under `name` and hands it over; null when there is none.
    std::unique_ptr<STSStyle> Take(const std::string& name);
    void RemoveAll() { m_styles.clear(); }

    [[nodiscard]] size_t GetCount() const { return m_styles.size(); }
    [[nodiscard]] Map::const_iterator begin() const { return m_styles.begin(); }
    [[nodiscard]] Map::const_iterator end() const { return m_styles.end(); }

private:
    Map m_styles;
};

} // namespace quillary::scripts
