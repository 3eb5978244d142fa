#include "Form.h"

#include "DesktopLook.h"
#include "Events.h"
#include "Menu.h"

#include "runtime/Program.h"

#include <QCloseEvent>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace forms {

namespace {

// The title bar and borders around the client area, which a form's Width and Height include.
constexpr int FrameWidthTwips = toTwips(8);
constexpr int FrameHeightTwips = toTwips(30);

FormRegistry* g_registry = nullptr;

} // namespace

// The top-level widget of a form: it passes the close box and activation to the form.
class FormWindow : public QWidget {
public:
    explicit FormWindow(Form* form) : QWidget(nullptr, Qt::Window | Qt::WindowCloseButtonHint), m_form(form) {
        setAttribute(Qt::WA_DeleteOnClose, false);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        m_form->closeBox();
    }
    bool event(QEvent* event) override {
        FormRegistry* registry = FormRegistry::current();
        if (event->type() == QEvent::WindowActivate && m_form->isLoaded() && isVisible() &&
            (!registry || registry->m_activeForm != m_form)) {
            Form* form = m_form;
            fire([form] { form->activated(); });
        }
        return QWidget::event(event);
    }

private:
    Form* m_form;
};

Form::Form(const QString& name) : m_name(name) {
    applyDesktopLook();
    m_window = new FormWindow(this);
    m_window->setObjectName(name);
}

Form::~Form() {
    notActive();
    delete m_window;
}

QWidget* Form::window() const {
    return m_window;
}
QWidget* Form::containerWidget() const {
    return m_window;
}

QString Form::caption() const {
    return m_window->windowTitle();
}
void Form::setCaption(const QString& caption) {
    m_window->setWindowTitle(caption);
}

int Form::left() const {
    return toTwips(m_window->x());
}
int Form::top() const {
    return toTwips(m_window->y());
}
int Form::width() const {
    return toTwips(m_window->width()) + FrameWidthTwips;
}
int Form::height() const {
    return toTwips(m_window->height()) + FrameHeightTwips;
}

void Form::setLeft(int left) {
    m_placed = true;
    m_window->move(toPixels(left), m_window->y());
}

void Form::setTop(int top) {
    m_placed = true;
    m_window->move(m_window->x(), toPixels(top));
}

void Form::setWidth(int width) {
    m_window->resize(std::max(0, toPixels(width - FrameWidthTwips)), m_window->height());
}

void Form::setHeight(int height) {
    m_window->resize(m_window->width(), std::max(0, toPixels(height - FrameHeightTwips)));
}

void Form::setClientSize(int width, int height) {
    m_window->resize(toPixels(width), toPixels(height));
}
int Form::scaleHeight() const {
    return toTwips(m_window->height());
}

bool Form::visible() const {
    return m_window->isVisible();
}

void Form::show(ShowMode mode) {
    const bool wasVisible = m_window->isVisible();
    if (mode == Modal && wasVisible) runtime::raise(runtime::err::FormAlreadyDisplayed);
    if (!m_placed) {
        m_placed = true;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect area = screen->availableGeometry();
            m_window->move(area.center() - QPoint(m_window->width() / 2, m_window->height() / 2));
        }
    }
    if (!wasVisible) m_window->setWindowModality(mode == Modal ? Qt::ApplicationModal : Qt::NonModal);
    m_window->show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) m_window->raise();
    m_window->activateWindow();
    if (!wasVisible) callFromCode([this] { activated(); });
    if (mode != Modal) return;
    MessageLoop loop;
    m_modalLoop = &loop;
    if (m_window->isVisible() && !m_unloaded) loop.exec();
    m_modalLoop = nullptr;
    if (runtime::hasEnded()) throw runtime::ProgramEnd();
}

void Form::hide() {
    m_window->hide();
    notActive();
    if (m_modalLoop) m_modalLoop->quit();
}

bool Form::unload(UnloadMode mode) {
    if (m_unloaded) return true;
    int cancel = 0;
    callFromCode([&] { Form_QueryUnload(cancel, mode); });
    if (cancel != 0) return false;
    m_unloaded = true;
    hide();
    FormRegistry* registry = FormRegistry::current();
    if (!registry) return true;
    auto& loaded = registry->m_loaded;
    auto it = std::find_if(loaded.begin(), loaded.end(), [this](const auto& l) { return l.form == this; });
    if (it != loaded.end()) {
        loaded.erase(it);
        registry->m_unloaded.push_back(this);
        if (loaded.empty() && registry->m_lastFormListener) registry->m_lastFormListener();
    }
    return true;
}

void Form::popupMenu(Menu& menu) {
    NestedDispatch dispatch;
    menu.menu()->exec(QCursor::pos());
}

void Form::activated() {
    if (FormRegistry* registry = FormRegistry::current()) registry->m_activeForm = this;
    Form_Activate();
}

void Form::notActive() {
    FormRegistry* registry = FormRegistry::current();
    if (registry && registry->m_activeForm == this) registry->m_activeForm = nullptr;
}

void Form::closeBox() {
    fire([this] { unload(FormControlMenu); });
}

FormRegistry::FormRegistry() : m_previous(g_registry) {
    g_registry = this;
    setIdleListener([this] { deleteUnloaded(); });
}

FormRegistry::~FormRegistry() {
    m_activeForm = nullptr;
    for (auto it = m_loaded.rbegin(); it != m_loaded.rend(); ++it) {
        it->form->m_window->hide();
        it->form->m_unloaded = true;
        m_unloaded.push_back(it->form);
    }
    m_loaded.clear();
    for (Form* form : m_unloaded)
        delete form;
    g_registry = m_previous;
    if (FormRegistry* previous = m_previous)
        setIdleListener([previous] { previous->deleteUnloaded(); });
    else
        setIdleListener({});
}

FormRegistry* FormRegistry::current() {
    return g_registry;
}

void FormRegistry::deleteUnloaded() {
    if (busy()) return;
    auto forms = std::move(m_unloaded);
    m_unloaded.clear();
    for (Form* form : forms)
        delete form;
}

Form* findForm(std::type_index type) {
    if (FormRegistry* registry = FormRegistry::current())
        for (const FormRegistry::Loaded& l : registry->m_loaded)
            if (l.type == type) return l.form;
    return nullptr;
}

void loadForm(std::type_index type, Form* form) {
    FormRegistry* registry = FormRegistry::current();
    if (!registry) {
        delete form;
        runtime::raise(runtime::err::ObjectNotSet);
    }
    registry->m_loaded.push_back({type, form});
    callFromCode([form] { form->Form_Load(); });
}

int loadedForms() {
    FormRegistry* registry = FormRegistry::current();
    return registry ? static_cast<int>(registry->m_loaded.size()) : 0;
}

void setLastFormListener(std::function<void()> listener) {
    if (FormRegistry* registry = FormRegistry::current()) registry->m_lastFormListener = std::move(listener);
}

} // namespace forms
