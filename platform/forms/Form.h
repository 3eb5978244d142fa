#pragma once

#include "Control.h"

#include <QString>

#include <functional>
#include <memory>
#include <typeindex>

class QWidget;

namespace forms {

class Menu;
class MessageLoop;
class FormWindow;

// How Show shows a form: beside the others, or modal until it is hidden or unloaded.
enum ShowMode { Modeless = 0, Modal = 1 };
// Why a form is unloading, as Form_QueryUnload receives it: the close box, or code.
enum UnloadMode { FormControlMenu = 0, FormCode = 1 };

// A window class of the program. Each class has one default instance, reached through
// forms::instance<T>(): the first touch creates it and runs Form_Load without showing it;
// Unload closes it, and the next touch loads a fresh one. The program lives while a form
// is loaded. Positions and sizes are twips; Height and Width are the outer size of the
// window, title bar and borders included.
class Form : public Container {
public:
    explicit Form(const QString& name);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const QString& name() const { return m_name; }
    QWidget* window() const;
    QWidget* containerWidget() const override;
    Form& parentForm() const override { return const_cast<Form&>(*this); }

    QString caption() const;
    void setCaption(const QString& caption);

    int left() const;
    int top() const;
    int width() const;
    int height() const;
    void setLeft(int left);
    void setTop(int top);
    void setWidth(int width);
    void setHeight(int height);
    // The designed size of the area inside the borders.
    void setClientSize(int width, int height);
    int scaleHeight() const;

    bool isLoaded() const { return !m_unloaded; }
    bool visible() const;

    // Show: modeless returns at once; modal returns when the form is hidden or unloaded.
    void show(ShowMode mode = Modeless);
    void hide();
    // Unload: Form_QueryUnload may cancel it (the result is then false); otherwise the
    // window closes for good.
    bool unload(UnloadMode mode = FormCode);

    // PopupMenu: shows the menu at the mouse position and returns when it closes.
    void popupMenu(Menu& menu);

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_QueryUnload(int& Cancel, int UnloadMode) {
        (void)Cancel;
        (void)UnloadMode;
    }

private:
    friend class FormWindow;
    friend void loadForm(std::type_index type, Form* form);
    friend void unloadAll();

    void activated();
    void closeBox();

    QString m_name;
    FormWindow* m_window;
    MessageLoop* m_modalLoop = nullptr;
    bool m_unloaded = false;
    bool m_placed = false;
};

// The loaded default instance of a class, or nullptr.
Form* findForm(std::type_index type);
// Registers a new default instance and runs its Form_Load.
void loadForm(std::type_index type, Form* form);

// The default instance of a form class, loaded on first touch.
template <class T> T& instance() {
    if (Form* form = findForm(typeid(T))) return static_cast<T&>(*form);
    T* form = new T();
    loadForm(typeid(T), form);
    return *form;
}

// Whether the default instance of a form class is loaded (without loading it).
template <class T> bool isLoaded() {
    return findForm(typeid(T)) != nullptr;
}

// The number of loaded forms.
int loadedForms();

// Called when the last loaded form unloads.
void setLastFormListener(std::function<void()> listener);

// Drops every form at once, without events (a fresh program run in the tests).
void unloadAll();

} // namespace forms
