#pragma once

#include "TestRecords.h"
#include "store/AttestationRecord.h"
#include "store/RecordStore.h"

#include <QList>
#include <QStringList>

#include <memory>

class RecordEditor;
class RecordsBrowser;

/// Rows for the maintenance tests, written in one transaction so that a long list costs no time.
[[nodiscard]] bool insertRecords(RecordStore& store, const QList<AttestationRecord>& records, DbError* error);

/// A browser and its editor (a child of the browser) wired to the store as the program wires them.
void createMaintenanceWindows(RecordStore* store, std::unique_ptr<RecordsBrowser>* browser,
                              std::unique_ptr<RecordEditor>* editor);
