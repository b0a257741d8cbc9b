#pragma once

#include "LineFields.h"
#include "LineMatcher.h"

#include <QString>

// Search by file extension. The extension is taken from the path field
// followed by the name field: from the last "." to the end, when no "/",
// "\" or ":" comes after that dot. An entry without a file name never
// matches.
class ExtensionMatcher : public LineMatcher
{
public:
    // pattern as typed; it is lowered. "*.*" takes every entry with a name,
    // "*" and "*." the entries without an extension, a pattern holding "?"
    // is matched against the whole lowered name with one "*" appended, and
    // any other pattern must equal "*" followed by the lowered extension.
    explicit ExtensionMatcher(const QString &pattern);

    const QString &pattern() const { return m_pattern; }
    bool matches(QStringView line) override;

private:
    enum class Kind { Everything, NoExtension, Wildcard, Exact };

    bool extensionEquals(QStringView path, QStringView name) const;
    static bool hasExtension(QStringView path, QStringView name);

    QString m_pattern;
    QString m_wildcard;
    Kind m_kind;
    LineFields m_fields;
    QString m_loweredName;
};
