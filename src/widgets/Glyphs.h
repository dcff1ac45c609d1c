#pragma once

#include <QIcon>

/// The buttons' pictures, drawn in code: a floppy disk, a printer, a magnifier and a pencil.
namespace Glyphs {
QIcon floppy();
QIcon printer();
QIcon magnifier();
QIcon pencil();
} // namespace Glyphs
