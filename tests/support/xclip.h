#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora::test {

// The clipboard as another X client sees it, through the xclip tool. Every call spins
// this process's event loop while xclip runs, so that the clipboard can be served when
// this process owns it.

/// Offers `bytes` as `target` on the clipboard from an xclip process of its own; true once it owns it.
bool xclipOffer(const QString &target, const QByteArray &bytes);
/// The bytes of one target of the clipboard; empty when it is not offered.
QByteArray xclipRead(const QString &target);
/// The targets the clipboard's owner offers, TARGETS itself and the other X protocol targets left out.
QStringList xclipTargets();

} // namespace velmora::test
