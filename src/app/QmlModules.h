#pragma once
// The static QML modules a program loads: included by exactly one source file of each program that
// makes the main window or any of its screens, so the linker keeps every module's types.

#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TessarinPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_CorePlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_CommonPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_FormsPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_AttachmentsPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_NavigationPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_DetailPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_ListPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_SettingsPlugin)
