#include "frmLogin.h"

#include "CurrentUser.h"
#include "ErrorLog.h"
#include "ParametersWindow.h"
#include "ProgramSession.h"
#include "UserSettings.h"
#include "clsDataBase.h"
#include "funciones.h"

#include "data/Recordset.h"
#include "forms/Colors.h"
#include "runtime/DateSerial.h"
#include "runtime/FileSystem.h"
#include "runtime/Program.h"
#include "runtime/Variant.h"

#include <QPainter>
#include <QPixmap>

namespace framework {

namespace {

const ErrorOrigin Origin = ErrorOrigin::window(QStringLiteral("frmLogin"));

// Trim and LCase of the typed texts: Trim takes off spaces only, not tabs or line breaks.
QString trimmedLower(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first).toLower();
}

// A typed text inside a quoted SQL literal: apostrophes doubled, so it stays one literal.
QString sqlText(const QString& text) {
    QString quoted = text;
    return quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
}

// The picture of the band along the left edge: a user's silhouette.
QPixmap userPicture() {
    QPixmap picture(44, 44);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawEllipse(QRectF(14, 4, 16, 16));
    painter.drawRoundedRect(QRectF(6, 23, 32, 18), 9, 9);
    return picture;
}

} // namespace

frmLogin::frmLogin() : Form(QStringLiteral("frmLogin")) {
    setCaption(QStringLiteral(" Pellicant - Login"));
    setClientSize(4260, 2715 - 450);
    Picture1.setBorder(false);
    Picture1.setBackColor(forms::rgb(32, 74, 135));
    Picture1.setPicture(userPicture());
    Shape1.setBorderColor(forms::rgb(160, 176, 200));
    Shape2.setBorderColor(forms::rgb(160, 176, 200));
    txtPass.setPasswordChar(QStringLiteral("*"));
    Label3.setFont(QStringLiteral("DejaVu Sans"), 8, true);

    cmdAceptar.onClick([this] { cmdAceptar_Click(); });
    PictureButton2.onClick([this] { PictureButton2_Click(); });
    txtUsuario.onKeyPress([this](int& keyAscii) { txtUsuario_KeyPress(keyAscii); });
    txtPass.onKeyPress([this](int& keyAscii) { txtPass_KeyPress(keyAscii); });
}

void frmLogin::Form_Load() {
    trapErrors(QStringLiteral("Form_Load"), Origin, [&] {
        txtUsuario.setText(LeeSetting(QStringLiteral("AnteriorUsuario"), QStringLiteral("admin")));
        const bool helper =
            runtime::Variant(LeeSetting(QStringLiteral("LOGINHELPER"), QStringLiteral("1"))).toBool();
        if (helper) {
            setHeight(3780);
            zz.setCaption(QStringLiteral("usuario: admin  \r\n contraseña: <dejar en blanco> "));
        } else {
            setHeight(2715);
        }
    });
}

void frmLogin::Form_Activate() {
    try {
        txtPass.setFocus();
    } catch (const runtime::RuntimeError&) {
    }
}

void frmLogin::cmdAceptar_Click() {
    trapErrors(QStringLiteral("cmdAceptar_Click"), Origin, [&] { Validar(); });
}

void frmLogin::PictureButton2_Click() {
    trapErrors(QStringLiteral("PictureButton2_Click"), Origin, [&] { runtime::End(); });
}

void frmLogin::txtUsuario_KeyPress(int& KeyAscii) {
    trapErrors(QStringLiteral("txtUsuario_KeyPress"), Origin, [&] {
        if (KeyAscii == 13) Validar();
    });
}

void frmLogin::txtPass_KeyPress(int& KeyAscii) {
    trapErrors(QStringLiteral("txtPass_KeyPress"), Origin, [&] {
        if (KeyAscii == 13) Validar();
    });
}

void frmLogin::Validar() {
    trapErrors(QStringLiteral("Validar"), Origin, [&] {
        if (txtUsuario.text().isEmpty()) {
            runtime::MsgBox(QStringLiteral("Debe introducir un usuario y una contraseña"),
                            runtime::mb::OKOnly, QStringLiteral("Tarvessin - Login"));
            return;
        }
        const QString usuario = trimmedLower(txtUsuario.text());
        const QString password = trimmedLower(txtPass.text());

        data::Recordset rs;
        try {
            rs.open(QStringLiteral("select * from usuarios where estado=1 and apodo='") + sqlText(usuario) +
                        QStringLiteral("' and password='") + sqlText(password) + QStringLiteral("'"),
                    gDB->dbaccess, program().login.cursorType, program().login.lockType);
        } catch (const runtime::RuntimeError&) {
            if (gDB->dbaccess && gDB->dbaccess->isOpen()) throw;
            // The connection did not open at start-up: say why; the window stays open.
            QString message = QStringLiteral("No se puede conectar con la base de datos.");
            if (!gDB->openError().isEmpty()) message += QStringLiteral("\r\n\r\n") + gDB->openError();
            runtime::MsgBox(message, runtime::mb::Critical);
            return;
        }
        if (rs.eof()) {
            runtime::MsgBox(QStringLiteral("Usuario o Contraseña incorrectos"));
            return;
        }
        const runtime::Variant id = rs.fields(QStringLiteral("id")).value();
        gIdUsuario = id.toDouble();
        if (!TienePermiso(QStringLiteral("reportes"))) {
            runtime::MsgBox(QStringLiteral("No tiene suficiente nivel de acceso"), runtime::mb::Exclamation);
            rs.close();
            gDB->CloseDatabase();
            runtime::End();
        }
        gDB->dbaccess->execute(QStringLiteral("insert into UsuariosPasadas (idusuario, fecha, hora) values") +
                               QStringLiteral(" (") + id.toText() + QStringLiteral(",") +
                               FechaSQL(runtime::Variant::date(runtime::today())) + QStringLiteral(",") +
                               HoraSQL(runtime::Variant::date(runtime::timePart(runtime::now()))) +
                               QStringLiteral(")"));
        gIdUsuario = id.toDouble();
        GrabaSetting(QStringLiteral("AnteriorUsuario"), txtUsuario.text());
        if (runtime::isOrdinaryFile(runtime::App::path() + QStringLiteral("\\nocat.txt")))
            gCategorizacion = false;
        else
            gCategorizacion = ValorNumerico(rs.fields(QStringLiteral("categorizacion")).value()) != 0;
        GrabaSetting(QStringLiteral("LOGINHELPER"), QStringLiteral("0"));
        framework::parametros().show();
        unload();
    });
}

} // namespace framework
