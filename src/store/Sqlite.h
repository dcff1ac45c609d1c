#pragma once
// The only place that includes SQLCipher's header: the rest of the program sees the store's types.
#include <sqlite3.h>
