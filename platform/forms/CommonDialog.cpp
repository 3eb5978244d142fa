#include "CommonDialog.h"

#include "runtime/FileSystem.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"

#include <QFileDialog>
#include <QFileInfo>

namespace forms {

namespace {

CommonDialog::SaveScript& script() {
    static CommonDialog::SaveScript saveScript;
    return saveScript;
}

// Whether the scripted user's name passes the checks the system's dialog makes.
bool acceptable(const CommonDialog& dialog, const QString& name) {
    const QFileInfo info(runtime::localPath(name));
    if ((dialog.Flags & cdl::PathMustExist) && !info.absoluteDir().exists()) {
        runtime::MsgBox(name + QStringLiteral("\nPath does not exist.\nCheck the path and try again."),
                        runtime::mb::OKOnly | runtime::mb::Exclamation, dialog.DialogTitle);
        return false;
    }
    if ((dialog.Flags & cdl::OverwritePrompt) && info.exists()) {
        const int answer =
            runtime::MsgBox(name + QStringLiteral(" already exists.\nDo you want to replace it?"),
                            runtime::mb::YesNo | runtime::mb::Exclamation, dialog.DialogTitle);
        return answer == runtime::mb::Yes;
    }
    return true;
}

std::optional<QString> showQtDialog(const CommonDialog& dialog) {
    QFileDialog fileDialog(nullptr, dialog.DialogTitle);
    fileDialog.setAcceptMode(QFileDialog::AcceptSave);
    fileDialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = dialog.nameFilters();
    fileDialog.setNameFilters(filters);
    if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
        fileDialog.selectNameFilter(filters[dialog.FilterIndex - 1]);
    if (!(dialog.Flags & cdl::OverwritePrompt)) fileDialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!dialog.InitDir.isEmpty()) fileDialog.setDirectory(runtime::localPath(dialog.InitDir));
    if (!dialog.DefaultExt.isEmpty()) fileDialog.setDefaultSuffix(dialog.DefaultExt);
    if (!dialog.FileName.isEmpty()) fileDialog.selectFile(runtime::localPath(dialog.FileName));
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty()) return std::nullopt;
    return fileDialog.selectedFiles().first();
}

} // namespace

CommonDialog::CommonDialog(Container& container, const QString& name) : Control(container, name) {}

void CommonDialog::setSaveScript(SaveScript saveScript) {
    script() = std::move(saveScript);
}

QStringList CommonDialog::nameFilters() const {
    QStringList filters;
    const QStringList parts = Filter.split(u'|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& patterns = parts[i + 1];
        filters << (description.contains(u'(') ? description
                                               : description + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}

void CommonDialog::ShowSave() {
    std::optional<QString> chosen;
    if (script()) {
        for (;;) {
            chosen = script()(*this);
            if (!chosen || acceptable(*this, *chosen)) break;
        }
    } else {
        chosen = showQtDialog(*this);
    }
    if (!chosen) {
        if (CancelError) runtime::raise(runtime::err::CancelError);
        return;
    }
    FileName = *chosen;
}

} // namespace forms
