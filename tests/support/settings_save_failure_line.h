#pragma once

#include <QLabel>
#include <QWidget>

namespace velmora::test {

/// The line saying the settings could not be saved, as `window` shows it; "<none>" when hidden.
inline QString settingsSaveFailureShown(const QWidget &window)
{
    const auto *line = window.findChild<QLabel *>(QStringLiteral("settings-save-failure"));
    return line && line->isVisibleTo(&window) ? line->text() : QStringLiteral("<none>");
}

} // namespace velmora::test
