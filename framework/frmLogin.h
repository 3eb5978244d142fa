#pragma once

#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/PictureBox.h"
#include "forms/Shape.h"
#include "forms/TextBox.h"

namespace framework {

// The login window: the first window of every program. It lets in an active user of the
// point of sale who holds the permission "reportes", records the login and hands over to
// the program's parameters window.
class frmLogin : public forms::Form {
public:
    frmLogin();

    void Validar();

    forms::PictureBox Picture1{*this, QStringLiteral("Picture1"), {0, 0, 900, 3330}};
    forms::Label Label1{*this, QStringLiteral("Label1"), QStringLiteral("Usuario"), {1150, 360, 630, 270}};
    forms::Shape Shape1{*this, QStringLiteral("Shape1"), {1125, 615, 2895, 315}};
    forms::TextBox txtUsuario{*this, QStringLiteral("txtUsuario"), {1155, 645, 2835, 255}};
    forms::Label Label2{
        *this, QStringLiteral("Label2"), QStringLiteral("Contraseña"), {1150, 1005, 930, 390}};
    forms::Shape Shape2{*this, QStringLiteral("Shape2"), {1120, 1265, 2895, 315}};
    forms::TextBox txtPass{*this, QStringLiteral("txtPass"), {1150, 1295, 2835, 255}};
    forms::CommandButton cmdAceptar{
        *this, QStringLiteral("cmdAceptar"), QStringLiteral("Aceptar"), {1110, 1770, 1290, 405}};
    forms::CommandButton PictureButton2{
        *this, QStringLiteral("PictureButton2"), QStringLiteral("Cancelar"), {2565, 1770, 1215, 405}};
    forms::Label Label3{
        *this, QStringLiteral("Label3"), QStringLiteral("Usuario Temporal"), {1140, 2400, 2850, 255}};
    forms::Label zz{*this, QStringLiteral("zz"), QString(), {1140, 2640, 2850, 570}};

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void cmdAceptar_Click();
    void PictureButton2_Click();
    void txtUsuario_KeyPress(int& KeyAscii);
    void txtPass_KeyPress(int& KeyAscii);
};

} // namespace framework
