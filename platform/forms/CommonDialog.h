#pragma once

#include "Control.h"

#include <QString>

#include <functional>
#include <optional>

namespace forms {

// Flags of the save dialog, bits added together into CommonDialog::Flags.
namespace cdl {
constexpr long ReadOnly = 1;
constexpr long OverwritePrompt = 2;
constexpr long HideReadOnly = 4;
constexpr long NoChangeDir = 8;
constexpr long PathMustExist = 2048;
constexpr long FileMustExist = 4096;
} // namespace cdl

// The save-file common dialog: title, filter ("description|pattern|..."), filter index
// (from 1), flags, cancel as an error (32755) and the file name, which it keeps from one
// use to the next. ShowSave shows Qt's file dialog, or hands the dialog to a scripted
// user in tests.
class CommonDialog : public Control {
public:
    CommonDialog(Container& container, const QString& name);

    QString DialogTitle;
    QString Filter;
    int FilterIndex = 0;
    long Flags = 0;
    bool CancelError = false;
    QString FileName;
    QString InitDir;
    QString DefaultExt;

    // Shows the save dialog and waits. On a cancel FileName stays and, with CancelError
    // set, error 32755 is raised.
    void ShowSave();

    // The scripted user: given the dialog as prepared, returns the name typed and
    // accepted, or nothing for a cancel. The dialog checks the name as the system's does
    // (a folder that does not exist is refused; an existing file needs a confirmation
    // through a message box) and asks the script again after a refusal.
    using SaveScript = std::function<std::optional<QString>(const CommonDialog& dialog)>;
    static void setSaveScript(SaveScript script);

    // Filter entries as Qt name filters ("xls File (*.xls)").
    QStringList nameFilters() const;
};

} // namespace forms
