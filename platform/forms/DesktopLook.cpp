#include "DesktopLook.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>

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
    static bool applied = false;
    if (applied || !qApp) return;
    applied = true;
    auto* style = new DesktopStyle;
    QApplication::setStyle(style);
    QApplication::setPalette(style->standardPalette());
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8);
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);
    // Windows that ask for Arial get a font as wide as Arial where it is not installed.
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("DejaVu Sans Condensed")});
}

} // namespace forms
