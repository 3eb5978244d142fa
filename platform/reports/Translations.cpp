#include "Translations_p.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace reports {

namespace {

// The Spanish texts under a Spanish locale; none (the English source) under another.
class EngineTranslator : public QTranslator {
public:
    static constexpr const char* Name = "reports::EngineTranslator";

    explicit EngineTranslator(QObject* parent)
        : QTranslator(parent), m_loaded(m_spanish.load(QStringLiteral(":/reports/i18n/reports_es.qm"))) {
        setObjectName(QLatin1String(Name));
    }
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        if (!m_loaded || QLocale().language() != QLocale::Spanish) return {};
        return m_spanish.translate(context, sourceText, disambiguation, n);
    }
    bool isEmpty() const override { return !m_loaded; }

private:
    QTranslator m_spanish;
    bool m_loaded;
};

} // namespace

void useTranslations() {
    // Once per application, which owns the translator.
    QCoreApplication* app = QCoreApplication::instance();
    if (!app ||
        app->findChild<QTranslator*>(QLatin1String(EngineTranslator::Name), Qt::FindDirectChildrenOnly))
        return;
    QCoreApplication::installTranslator(new EngineTranslator(app));
}

} // namespace reports
