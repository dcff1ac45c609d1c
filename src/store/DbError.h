#pragma once

#include <QString>

/// A failure of the database layer: the engine's result code and its own message.
struct DbError
{
    int code = 0;
    QString message;
};
