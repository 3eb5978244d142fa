#include "DesktopLook.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTranslator>

namespace forms {

namespace {

class DesktopStyle : public QProxyStyle {
public:
    DesktopStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void applyDesktopLook() {
    // Once per application: its style tells whether it has the look.
    if (!qApp || dynamic_cast<DesktopStyle*>(QApplication::style())) return;
    auto* style = new DesktopStyle;
    QApplication::setStyle(style);
    QApplication::setPalette(style->standardPalette());
    // Windows that ask for Arial or MS Sans Serif get a font of the same widths where those are
    // not installed, so that captions laid out in twips fit.
    for (const QString& family : {QStringLiteral("Arial"), QStringLiteral("MS Sans Serif")})
        QFont::insertSubstitutions(family, {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                            QStringLiteral("DejaVu Sans Condensed")});
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8);
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);
    // The standard dialogs (message box buttons, file and print dialogs) in the user's language.
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale::system(), QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace forms
