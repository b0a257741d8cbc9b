#pragma once

#include <QString>
#include <vector>

// The control properties the main window stores in section Global, in the
// order they are saved, with their defaults.
struct StoredProperty {
    enum Kind { Integer, Boolean, Text, StringList, Font };
    const char *key; // component name, underscore, property name
    Kind kind;
    const char *defaultValue;
};

namespace StoredProperties {

const std::vector<StoredProperty> &all();
const StoredProperty *find(const QString &key);

// The attribute keys a stored font expands to, with their defaults.
struct FontAttribute {
    const char *suffix;
    const char *defaultValue;
};
const std::vector<FontAttribute> &fontAttributes();

} // namespace StoredProperties
