#pragma once

#include "store/AttestationRecord.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

/// A temporary working directory, made current for the fixture's life, optionally holding a fresh keyed
/// database named as the program expects it. The previous working directory is restored at the end.
class TestDatabase
{
public:
    enum class Content { Empty, NoDatabase };
    explicit TestDatabase(Content content = Content::Empty);
    ~TestDatabase();

    bool isValid() const { return m_valid; }
    QString path() const;
    QString directory() const { return m_dir.path(); }

    /// A plausible record, varied by n (owner "OWNER n", number "n-2020"...).
    static AttestationRecord sampleRecord(int n);

private:
    QTemporaryDir m_dir;
    QString m_previous;
    bool m_valid = false;
};
