#include "frmPListado.h"

#include "extras.h"

#include "data/Recordset.h"
#include "framework/ErrorLog.h"
#include "framework/GridHelpers.h"
#include "framework/ListingHelpers.h"
#include "framework/ProgramSession.h"
#include "framework/clsDataBase.h"
#include "framework/frmSeleccionaTurno.h"
#include "framework/funciones.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "runtime/Program.h"
#include "runtime/Regional.h"
#include "runtime/RuntimeError.h"
#include "runtime/Strings.h"

#include <QWidget>

#include <cmath>
#include <utility>

using namespace framework;

namespace quenbrook {

using runtime::Variant;

namespace {

const ErrorOrigin Origin = ErrorOrigin::window(QStringLiteral("frmPListado"));
const QString QuenbrookMode = QStringLiteral("Quenbrook");
const QString InfVentasMode = QStringLiteral("InfVentas");
const QString DescuentosMode = QStringLiteral("Descuentos");

constexpr std::int16_t SlotG = 9;
constexpr std::int16_t SlotGD = 10;
constexpr int GridHeightWithDetail = 3660;
constexpr int GridHeightWithoutDetail = 6720;
constexpr int Red = 255;
constexpr int Yellow = 2741246;

// The column specifications of g by mode; the two "Detallado" modes carry the summary's
// specification second.
struct ColumnSpec {
    QString mode;
    QString columns;
    QString summary;
};

const ColumnSpec ColumnSpecs[] = {
    {QStringLiteral("IVAVta"),
     QStringLiteral(
         "Fecha;1600|Tipo;1200|Nro;600|Mozo;600|Mesa;600|Monto Imp;1400|IVA 21;1000|IVA 10;1000|Total;1500"),
     {}},
    {QStringLiteral("Cubiertos"), QStringLiteral("ID;0|Sector;4200|Cantidad;4200"), {}},
    {QStringLiteral("CTACTE"),
     QStringLiteral(
         "ID;0|Nombre;3000|Fecha;1500|Hora;1500|idcliente;0|Concepto;3000|Debe;1500|Haber;1500|Saldo;1500"),
     {}},
    {QStringLiteral("stockreponer"),
     QStringLiteral("Codigo;1000|Rubro;1500|Producto;2500|Medida;1000|Stock;1500|Repocición;1000|Precio;1500|"
                    "ReponerMinimo;1500|Valorizacion;1500"),
     {}},
    {QStringLiteral("RankingPlatos"),
     QStringLiteral(
         "Codigo;1500|Rubro;3000|Producto;3200|Precio Lista;1500|Productos Vendidos;1500|Vta Bruta "
         "Producto;1500|Por. Sobre Cantidad;1500"),
     {}},
    {QStringLiteral("Productos"),
     QStringLiteral("Codigo;1500|Rubro;1500|Producto;3200|Stock;1500|Costo;1500|PVP1;1500|PVP2;1500|Costo "
                    "Stock;1500|Valor Stock;1500|Ganancia;1500"),
     {}},
    {QStringLiteral("ProductosRubros"),
     QStringLiteral("Codigo;1500|Rubro;1500|Producto;4200|PVP1;1500|PVP2;1500"),
     {}},
    {QuenbrookMode,
     QStringLiteral(
         "Id;0|Tipo;0|Fecha F.;1000|Fecha E.;1000|Mesa;500|Doc;400|Nro. Doc.;800|Qty;800|Producto;4000|"
         "Precio;1000|Importe;1000|H. Borrado;1000|H. Ticket;1000|Prep. Prom.;1000|Minutos "
         "Ad.;1000|Usuario;800|Mozo;500|Motivo;6000"),
     {}},
    {InfVentasMode,
     QStringLiteral("IDVENTA;0|Fecha;1000|Hora;600|Mesa;800|Control;0|Hora "
                    "Cierre;0|Factura;2000|Total;1500|Cliente;2500|Nro. ;500|Mozo_Rep;2000|MedioPago;0"),
     QStringLiteral("id;0|Fecha;2500|Cantidad;2500|Detalle;2500|Total;2500|MedioPago;2500")},
    {DescuentosMode,
     QStringLiteral(
         "IDVENTA;0|Fecha;1000|Hora;600|Mesa;800|Control;0|Hora "
         "Cierre;0|Factura;2000|Total;1500|Descuento;1500|Cliente;2500|Nro. ;500|Mozo_Rep;2000|MedioPago;0"),
     {}},
    {QStringLiteral("Auditoria"),
     QStringLiteral("id;0|Fecha;1500|Tur.;500|Evento;2000|Suceso;8000|usuario;1200|mozo;560"),
     {}},
    {QStringLiteral("Anulaciones"),
     QStringLiteral("id;0|Fecha;1500|Hora;1500|Ticket;1500|Mesa;1500|Cliente;2500|Total;1500|Usuario;2500"),
     {}},
    {QStringLiteral("CajaMayor"),
     QStringLiteral("IDVENTA;0|Fecha;2000|Concepto;5000|Debe;1500|Haber;1500|Saldo;1500|Usuario;2000"),
     QStringLiteral("id;0|Ultima Modificacion;2500|Total Acumulado;2500")},
};

// A moment to the second, so that equal stored values never differ by how they were summed.
long long wholeSeconds(double serial) {
    return std::llround(serial * 86400.0);
}

// A date and time as the shift chooser writes it (FmtFechaHora: day, month, two-digit year,
// hours and minutes, with the regional date and time separators), read as a date serial
// whatever the regional order of day and month.
double shiftMoment(const QString& text) {
    const runtime::Regional& regional = runtime::Regional::current();
    const QStringList partes = text.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QStringList fecha = partes.value(0).split(regional.dateSeparator);
    const QStringList hora = partes.value(1).split(regional.timeSeparator);
    bool ok[5] = {};
    const int dia = fecha.value(0).toInt(&ok[0]);
    const int mes = fecha.value(1).toInt(&ok[1]);
    const int anio = fecha.value(2).toInt(&ok[2]);
    const int h = partes.size() > 1 ? hora.value(0).toInt(&ok[3]) : 0;
    const int m = partes.size() > 1 ? hora.value(1).toInt(&ok[4]) : 0;
    if (partes.size() == 1) ok[3] = ok[4] = true;
    for (bool b : ok)
        if (!b) runtime::raise(runtime::err::TypeMismatch);
    return runtime::dateSerial(anio < 30 ? 2000 + anio : (anio < 100 ? 1900 + anio : anio), mes, dia) +
           runtime::timeSerial(h, m, 0);
}

QString numberText(double number) {
    return Variant(number).toString();
}

// A value joined to an empty text and formatted: a Null reads as "". A date goes to the
// picture directly, as its text would read back.
QString formatted(const Variant& value, const QString& picture) {
    return value.isNull() ? QString() : runtime::Format(value, picture);
}

// Minutes since midnight of a time as FmtHora writes it ("HH:MM", the regional time separator).
double minutesOf(const QString& hhmm) {
    const QStringList partes = runtime::Split(hhmm, QString(runtime::Regional::current().timeSeparator));
    if (partes.size() < 2) runtime::raise(runtime::err::SubscriptOutOfRange);
    return stod2(partes[0]) * 60 + stod2(partes[1]);
}

} // namespace

frmPListado::frmPListado() : Form(QStringLiteral("frmPListado")) {
    setCaption(QStringLiteral("Form1"));
    setClientSize(14760, 9300);
    picGN.widget()->raise();
    picGN.setBorder(true);
    lblAperturaTurno.setFont(QStringLiteral("Arial"));
    lblCierreTurno.setFont(QStringLiteral("Arial"));
    lblAperturaTurno.setVisible(false);
    lblCierreTurno.setVisible(false);
    optF0.setValue(true);
    optStockR0.setValue(true);
    chkFacA.setValue(1);
    chkFacB.setValue(1);
    chkFacX.setValue(1);
    cancelButton.onClick([this] { cancelButton_Click(); });
    cmdExcel.onClick([this] { cmdExcel_Click(); });
    cmdImprimir.onClick([this] { cmdImprimir_Click(); });
    OKButton.onClick([this] { OKButton_Click(); });
    cmdReset.onClick([this] { cmdReset_Click(); });
    cmdTurno.onClick([this] { cmdTurno_Click(); });
    optF0.onClick([this] { optF_Click(); });
    optF1.onClick([this] { optF_Click(); });
    picGN.onClick([] {});
    g.onClick([this] { MostarDetalle(); });
    g.onEnterCell([this] {
        if (!mOcupado) MostarDetalle();
    });
    g.onMouseUp([this](int button, int shift, double x, double y) { g_MouseUp(button, shift, x, y); });
    tmrReimprimir.onTimer([this] { tmrReimprimir_Timer(); });
}

void frmPListado::Form_Load() {
    trapErrors(QStringLiteral("Form_Load"), Origin, [&] {
        cmdTurno.setTag(QStringLiteral("-1"));
        QString a = QStringLiteral("A");
        chkFacA.setCaption(NombreComprobante(a, false));
        QString b = QStringLiteral("B");
        chkFacB.setCaption(NombreComprobante(b, false));
    });
}

bool frmPListado::Listado(const QString& pTipoListado) {
    trapErrors(QStringLiteral("Listado"), Origin, [&] {
        mPermiteOrdenar = true;
        chkFacX.setVisible(true);
        mTipoListado = pTipoListado;
        carga();
        frmLisIVaVtas.setVisible(false);
        optF_Click();
        PreparaOpciones();
        show(forms::Modeless);
        runtime::DoEvents();
    });
    return false;
}

void frmPListado::cancelButton_Click() {
    unload();
}

void frmPListado::cmdExcel_Click() {
    trapErrors(QStringLiteral("cmdExcel_Click"), Origin, [&] {
        mOcupado = true;
        mOcupado = false;
    });
}

void frmPListado::cmdImprimir_Click() {
    trapErrors(QStringLiteral("cmdImprimir_Click"), Origin, [&] { PrintReport(); });
}

void frmPListado::OKButton_Click() {
    trapErrors(QStringLiteral("OKButton_Click"), Origin, [&] { MuestraDatos(); });
}

void frmPListado::cmdReset_Click() {
    trapErrors(QStringLiteral("cmdReset_Click"), Origin, [&] {
        hdesde.setValue(Variant(QStringLiteral("00:00")));
        hhasta.setValue(Variant(QStringLiteral("23:59")));
    });
}

void frmPListado::cmdTurno_Click() {
    QString apertura;
    QString cierre;
    double nroturno = 0;
    const double id = shiftChooser().ask(apertura, cierre, nroturno);
    if (id == 0) return;
    Frame1.setEnabled(false);
    Frame_0.setEnabled(false);
    lblAperturaTurno.setCaption(apertura);
    lblAperturaTurno.setVisible(true);
    lblCierreTurno.setCaption(cierre);
    lblCierreTurno.setVisible(true);
    dtdesde.setValue(shiftMoment(apertura));
    dthasta.setValue(cierre.trimmed().isEmpty() ? runtime::today() + 1 : shiftMoment(cierre));
    cmdTurno.setTag(Variant(id).toString());
}

void frmPListado::enablePeriod(bool enabled) {
    dtdesde.setEnabled(enabled);
    dthasta.setEnabled(enabled);
    hdesde.setEnabled(enabled);
    hhasta.setEnabled(enabled);
}

void frmPListado::optF_Click() {
    trapErrors(QStringLiteral("optF_Click"), Origin, [&] {
        const bool fechas = !optF1.value();
        enablePeriod(fechas);
        cmdReset.setEnabled(fechas);
    });
}

void frmPListado::g_MouseUp(int button, int shift, double x, double y) {
    (void)shift;
    (void)x;
    (void)y;
    if (button == 2) popupMenu(mnuPopup);
    if (g.mouseRow() == 0 && mPermiteOrdenar) OrdenaGrilla(g, g.mouseCol());
}

void frmPListado::tmrReimprimir_Timer() {
    OKButton_Click();
    tmrReimprimir.setEnabled(false);
}

Variant frmPListado::GridToTmpReport() {
    return {};
}

void frmPListado::PrintReport() {}

void frmPListado::MuestraDatos() {
    trapErrors(QStringLiteral("MuestraDatos"), Origin, [&] {
        picGN.setVisible(true);
        lblInfo.setCaption(QStringLiteral("Un momento por favor..."));
        mFilasEncontradas = 0;
        if (mTipoListado == QuenbrookMode)
            Quenbrook();
        else if (mTipoListado == InfVentasMode)
            InfVentas();
        if (mFilasEncontradas <= 0) {
            picGN.setVisible(true);
            lblInfo.setCaption(QStringLiteral("No se encontraron datos con los parametros ingresados."));
        } else {
            lblInfo.setCaption(QString());
            picGN.setVisible(false);
        }
        PreparaDetalle();
    });
}

void frmPListado::PreparaDetalle() {
    const bool detalle = (mTipoListado == InfVentasMode && opt3_0.value()) || mTipoListado == DescuentosMode;
    GD.setVisible(detalle);
    g.setHeight(detalle ? GridHeightWithDetail : GridHeightWithoutDetail);
}

QString frmPListado::hFecha2Mins(QString& s) {
    if (s.isEmpty()) return {};
    s = FmtHora(Variant(s));
    return numberText(minutesOf(s));
}

// Listing modes and their options.

void frmPListado::resetCmbRubros() {
    cmbRubros.clear();
    cmbRubros.addItem(QStringLiteral("- Todos -"), 0);
    cmbRubros.setItemData(cmbRubros.newIndex(), -1);
    cmbRubros.setListIndex(0);
}

void frmPListado::carga() {
    trapErrors(QStringLiteral("Carga"), Origin, [&] {
        cmbIVALetra.clear();
        for (const char* letra : {"Todos", "A", "B", "C", "X"})
            cmbIVALetra.addItem(QString::fromLatin1(letra));
        dtdesde.setValue(runtime::today());
        dthasta.setValue(runtime::today());
        resetCmbRubros();
        LlenaCombo(QStringLiteral("select idr,descripcion from rubros where estado = 1 order by descripcion"),
                   cmbRubros);
        cmdReset_Click();
        ArmaGrilla();
    });
}

void frmPListado::ArmaGrilla() {
    trapErrors(QStringLiteral("ArmaGrilla"), Origin, [&] {
        for (const ColumnSpec& e : ColumnSpecs) {
            if (e.mode != mTipoListado) continue;
            GPrep(g, SlotG, e.summary.isEmpty() || opt3_0.value() ? e.columns : e.summary);
            return;
        }
    });
}

void frmPListado::PreparaOpciones() {
    trapErrors(QStringLiteral("PreparaOpciones"), Origin, [&] {
        for (forms::Frame* frame :
             {&frmStockReponer, &fraTipoFactura, &fraOrden3, &fraFiltros3, &Rubro, &frmLisIVaVtas})
            frame->setVisible(false);
        if (mTipoListado == QLatin1String("IVAVta")) {
            fraTipoFactura.setVisible(true);
            enablePeriod(true);
            optF1.setEnabled(true);
            optF1.setValue(true);
            setCaption(QStringLiteral("Diario de Ventas"));
        } else if (mTipoListado == QLatin1String("CTACTE")) {
            enablePeriod(true);
            optF1.setEnabled(true);
            Rubro.setCaption(QStringLiteral("Clientes"));
            Rubro.setVisible(true);
            setCaption(QStringLiteral("Movimientos de Cta.Cte."));
            resetCmbRubros();
            optF1.setEnabled(false);
            LlenaCombo(QStringLiteral("select id,nombres from clientes where estado = 1 order by nombres "),
                       cmbRubros);
        } else if (mTipoListado == QLatin1String("stockreponer")) {
            enablePeriod(false);
            setCaption(QStringLiteral("Informe de Stock a Reponer"));
            frmStockReponer.setVisible(true);
            Rubro.setVisible(true);
        } else if (mTipoListado == QuenbrookMode) {
            Rubro.setVisible(true);
            Rubro.setCaption(QString());
            cmbRubros.clear();
            cmbRubros.addItem(QStringLiteral("Todos"), 0);
            cmbRubros.addItem(QStringLiteral("Elim. despues de Ticket"), 1);
            cmbRubros.setListIndex(0);
            setCaption(QStringLiteral("Auditoría de Quenbrook"));
        } else if (mTipoListado == InfVentasMode) {
            optF1.setEnabled(true);
            optF0.setValue(false);
            optF1.setValue(true);
            fraTipoFactura.setVisible(true);
            enablePeriod(true);
            cmbRubros.setEnabled(false);
            fraOrden3.setVisible(true);
            fraFiltros3.setVisible(true);
            chkSalon.setValue(1);
            chkDelivery.setValue(1);
            chkMostrador.setValue(1);
            cmbOrden3.clear();
            const char* const orden[] = {"Fecha, Hora Desc", "Fecha, Hora Asc", "Cliente",
                                         "Mozo/Rep",         "Importe asc",     "Importe desc"};
            for (int i = 0; i < 6; ++i)
                cmbOrden3.addItem(QString::fromLatin1(orden[i]), i);
            cmbOrden3.setListIndex(0);
            opt3_0.setValue(true);
            optF1.setEnabled(true);
            setCaption(QStringLiteral("Informe de Ventas"));
            optF_Click();
        }
    });
}

// The deleted-products listing.

QString frmPListado::quenbrookQuery() {
    QString sql =
        QStringLiteral(
            "SELECT Quenbrook.*, sesion.NROTURNO, ventas.TIPOFACTURA AS Doc, ventas.NUMEROTICKET as NroFact, "
            "ventas.sf_fecha, ventas.sf_hora ") +
        QStringLiteral("FROM (sesion INNER JOIN Quenbrook ON sesion.Idsesion = Quenbrook.caja) LEFT JOIN "
                       "ventas ON Quenbrook.Idventa = ventas.Idventa ");
    if (Variant(cmdTurno.tag()).toDouble() == -1)
        sql += QStringLiteral(" WHERE Quenbrook.fecha between ") + FechaSQL(Variant::date(dtdesde.value())) +
               QStringLiteral(" and ") + FechaSQL(Variant::date(dthasta.value())) + QStringLiteral(" ");
    else
        sql += QStringLiteral(" WHERE Quenbrook.caja = ") + cmdTurno.tag();
    return sql + QStringLiteral(" and Quenbrook.tipo <> 'ITEM' ") +
           QStringLiteral(" order by sf_fecha, sf_hora ");
}

void frmPListado::Quenbrook() {
    trapErrors(QStringLiteral("Quenbrook"), Origin, [&] {
        mPermiteOrdenar = true;
        ArmaGrilla();
        data::Recordset rs;
        rs.open(quenbrookQuery(), gDB->dbaccess, data::adOpenForwardOnly);
        g.setRedraw(false);
        struct RedrawOnExit {
            forms::Grid& grid;
            ~RedrawOnExit() { grid.setRedraw(true); }
        } redrawOnExit{g};
        while (!rs.eof()) {
            auto campo = [&](const char* name) { return rs.fields(QString::fromLatin1(name)).value(); };
            const Variant fecha = campo("Fecha"), hora = campo("Hora");
            const Variant sfFecha = campo("sf_fecha"), sfHora = campo("sf_hora");
            const bool despues = !fecha.isNull() && !hora.isNull() && !sfFecha.isNull() && !sfHora.isNull() &&
                                 wholeSeconds(fecha.toDouble() + hora.toDouble()) >
                                     wholeSeconds(sfFecha.toDouble() + sfHora.toDouble());
            if (cmbRubros.listIndex() == 0 || despues) {
                mFilasEncontradas += 1;
                const double cantidad = ValorNumerico(campo("cantidad"));
                const double importe = ValorNumerico(campo("importe"));
                // hFecha2Mins of the value joined to an empty text, keeping the number for the colour.
                auto minutos = [&](const char* name, double& numero) {
                    const Variant v = campo(name);
                    numero = 0;
                    if (v.isNull() || v.isEmpty() || (v.isString() && v.rawString().isEmpty()))
                        return QString();
                    numero = minutesOf(FmtHora(v));
                    return numberText(numero);
                };
                double prep = 0;
                double demora = 0;
                const QString mozo = campo("mozo").toText();
                const QStringList celdas{
                    numberText(ValorNumerico(campo("id"))),
                    campo("Tipo").toText(),
                    formatted(sfFecha, QStringLiteral("YYYY/MM/DD")),
                    formatted(fecha, QStringLiteral("YYYY/MM/DD")),
                    numberText(stod2(campo("mesa"))),
                    campo("Doc").toText(),
                    campo("NroFact").toText(),
                    numberText(cantidad),
                    campo("producto").toText(),
                    runtime::Format(importe, QStringLiteral("0.00")),
                    runtime::Format(cantidad * importe, QStringLiteral("0.00")),
                    formatted(hora, QStringLiteral("HH:MM")),
                    FmtHora(sfHora),
                    minutos("Preparacion", prep),
                    minutos("demora", demora),
                    campo("usuario").toText(),
                    stod2(mozo) > 0 ? mozo : QString(),
                    campo("Tipo").toText() + QStringLiteral(" - ") + campo("motivo").toText(),
                };
                GAddItem(g, SlotG, celdas.join(QLatin1Char('|')), false);
                const int fila = static_cast<int>(mFilasEncontradas);
                g.setCellFontBold(fila, 9, true);
                g.setCellFontBold(fila, 11, true);
                g.setCellBackColor(fila, 11, prep > demora ? Yellow : Red);
            }
            rs.moveNext();
        }
        rs.close();
    });
}

// The sales listing.

QString frmPListado::infVentasQuery() {
    const bool detallado = opt3_0.value();
    QString sql;
    if (detallado)
        sql = QStringLiteral(
            " SELECT empleados.numero, ventas.Idventa, ventas.fecha, ventas.SF_hora, ventas.SF_fecha, "
            "ventas.horaapertura, ventas.horacierre, ventas.TicketControl, ventas.TIPOFACTURA, "
            "ventas.NUMEROSUC, "
            "ventas.NUMEROTICKET, ventas.apellidos & ' ' & ventas.nombres AS CLIENTE, EMPLEADOS.APELLIDOS & "
            "' ' & "
            "EMPLEADOS.NOMBRES AS MOZO_REP, ventas.total, ventas.concepto, usuarios.apodo, ventas.subtotal, "
            "ventas.descuento, ventas.montopagado, ventas.tipo, ventas.estado, ventas.dinerodevuelto, "
            "ventas.moto, "
            "ventas.interno, ventas.diraltura, ventas.dirpiso, ventas.direntrea, ventas.direntreb, "
            "ventas.direccion, "
            "ventas.localidad, ventas.codigopostal, ventas.notacliente, ventas.notarepartidor, "
            "ventas.teluno, "
            "ventas.provincia, ventas.mediopago, ventas.demoratotal, ventas.PagoL2, ventas.PagoL2T, "
            "ventas.HoraRecibido, ventas.HoraPedido, ventas.smesa AS MESA, ventas.tmesa AS TIPOMESA, "
            "ventas.tipo ");
    else
        sql = QStringLiteral(
            " SELECT ventas.fecha, Sum(ventas.total) AS SumaDetotal, count(ventas.total) as cuenta, "
            "ventas.estado, ventas.tipo, ventas.tmesa as mesatipo ");
    sql += QStringLiteral(
        " FROM ((ventas LEFT JOIN clientes ON ventas.idcliente = clientes.Id) LEFT JOIN empleados "
        "ON ventas.idmozo = empleados.Id) LEFT JOIN usuarios ON ventas.idusuario = usuarios.Id ");
    sql += detallado ? QStringLiteral(" Where  val(ventas.NUMEROTICKET)>=0 and not isnull(numeroticket) ")
                     : QStringLiteral(" where  val(ventas.NUMEROTICKET)>=0 and ventas.estado <> 3 and not "
                                      "isnull(numeroticket)");

    if (Variant(cmdTurno.tag()).toDouble() == -1 && !optF1.value()) {
        const QString dias = QStringLiteral(" and ventas.fechacaja between ") +
                             FechaSQL(Variant::date(dtdesde.value())) + QStringLiteral(" and ") +
                             FechaSQL(Variant::date(dthasta.value()));
        const Variant desde = Variant::date(hdesde.value());
        const Variant hasta = Variant::date(hhasta.value());
        const double hDesde = runtime::timePart(hdesde.value());
        const double hHasta = runtime::timePart(hhasta.value());
        if (runtime::Format(desde, QStringLiteral("HH:NN")) == QLatin1String("00:00") &&
            runtime::Format(hasta, QStringLiteral("HH:NN")) == QLatin1String("23:59")) {
            sql += dias + QStringLiteral(" ");
        } else if (wholeSeconds(hHasta) >= wholeSeconds(hDesde)) {
            sql += dias + QStringLiteral(" and ventas.sf_hora between ") + HoraSQL(desde) +
                   QStringLiteral(" and ") + HoraSQL(hasta) + QStringLiteral(" ");
        } else {
            sql += dias + QStringLiteral(" and (ventas.sf_hora between ") + HoraSQL(desde) +
                   QStringLiteral(" and #23:59:59# or ventas.sf_hora between #00:00:00# and ") +
                   HoraSQL(hasta) + QStringLiteral(")  ");
        }
    } else {
        sql += QStringLiteral(" and ventas.idsesion = ") + cmdTurno.tag();
    }

    auto condiciones = [&](const std::initializer_list<std::pair<forms::CheckBox*, const char*>>& casos) {
        QStringList elegidas;
        for (const auto& [check, condicion] : casos)
            if (check->value() == 1) elegidas << QString::fromLatin1(condicion);
        if (!elegidas.isEmpty())
            sql += QStringLiteral(" and (") + elegidas.join(QStringLiteral(" or ")) + ") ";
    };
    condiciones({{&chkFacA, " VENTAS.TIPOFACTURA = 'A' OR VENTAS.TIPOFACTURA = 'NCA'"},
                 {&chkFacB, " VENTAS.TIPOFACTURA = 'B' OR VENTAS.TIPOFACTURA = 'NCB'"},
                 {&chkFacX, " VENTAS.TIPOFACTURA = 'X' "}});
    condiciones({{&chkDelivery, " ventas.tmesa = 2 "},
                 {&chkMostrador, " ventas.tmesa = 1 "},
                 {&chkSalon, " (ventas.tmesa = 0 or isnull(ventas.tmesa))"}});

    if (!detallado)
        sql += QStringLiteral(" GROUP BY ventas.fecha, ventas.estado, ventas.tipo, ventas.tmesa ");
    if (cmbOrden3.listIndex() == 0)
        sql += detallado ? QStringLiteral(" ORDER BY ventas.SF_fecha ASC , ventas.SF_hora ASC; ")
                         : QStringLiteral(" ORDER BY ventas.fecha DESC ");
    return sql;
}

void frmPListado::InfVentas() {
    trapErrors(QStringLiteral("InfVentas"), Origin, [&] {
        const QStringList prefijos = runtime::Split(QStringLiteral("|M - |R - "), QStringLiteral("|"));
        const bool detallado = opt3_0.value();
        ArmaGrilla();
        double total = 0;
        data::Recordset rs;
        rs.open(infVentasQuery(), gDB->dbaccess);
        while (!rs.eof()) {
            auto campo = [&](const char* name) { return rs.fields(QString::fromLatin1(name)).value(); };
            if (detallado) {
                if (!TraeEliminado(campo("idventa").toDouble(), false, 0)) {
                    rs.moveNext();
                    continue;
                }
                const long tipoMesa = std::lround(ValorNumerico(campo("TIPOMESA")));
                if (tipoMesa < 0 || tipoMesa >= prefijos.size())
                    runtime::raise(runtime::err::SubscriptOutOfRange);
                QString tipoFactura = campo("tipofactura").toText();
                const bool anulada = campo("Estado").equals(3);
                const QStringList celdas{
                    campo("idventa").toText(),
                    runtime::Format(campo("sf_fecha"), QStringLiteral("dd/mm/yy")),
                    runtime::Format(campo("SF_hora"), QStringLiteral("HH:nn")),
                    prefijos[tipoMesa] + campo("mesa").toText(),
                    campo("TicketControl").toText(),
                    campo("horacierre").toText(),
                    NombreComprobante(tipoFactura, false) + QStringLiteral(" ") +
                        runtime::Format(ValorNumerico(campo("NUMEROSUC")), QStringLiteral("0")) +
                        QStringLiteral("-") +
                        runtime::Format(ValorNumerico(campo("NumeroTicket")), QStringLiteral("00000000")),
                    anulada ? QStringLiteral("Anulado") : FmtImporteNull(ValorNumerico(campo("Total"))),
                    campo("Cliente").toText(),
                    campo("numero").toText(),
                    campo("mozo_rep").toText(),
                    NombreFPago(Variant(ValorNumerico(campo("Tipo"))).toInteger()),
                };
                GAddItem(g, SlotG, celdas.join(QLatin1Char('|')), false);
                if (!anulada) total += ValorNumerico(campo("Total"));
            } else {
                // One row per day, state, payment type and table kind of the summary.
                const long tipoMesa = std::lround(ValorNumerico(campo("mesatipo")));
                if (tipoMesa < 0 || tipoMesa > 2) runtime::raise(runtime::err::SubscriptOutOfRange);
                const forms::CheckBox* tipos[] = {&chkSalon, &chkMostrador, &chkDelivery};
                const QStringList celdas{
                    QStringLiteral("0"),
                    runtime::Format(campo("fecha"), QStringLiteral("dd/mm/yy")),
                    campo("cuenta").toText(),
                    tipos[tipoMesa]->caption(),
                    FmtImporteNull(ValorNumerico(campo("SumaDetotal"))),
                    NombreFPago(Variant(ValorNumerico(campo("tipo"))).toInteger()),
                };
                GAddItem(g, SlotG, celdas.join(QLatin1Char('|')), false);
                total += ValorNumerico(campo("SumaDetotal"));
            }
            mFilasEncontradas += 1;
            rs.moveNext();
        }
        rs.close();
        const QString totales = detallado ? QStringLiteral("0|==============|==============|==============|=="
                                                           "============|==============|==TOTAL==|")
                                          : QStringLiteral("0|==============|==============|==TOTAL==|");
        GAddItem(g, SlotG, totales + FmtImporteNull(total), false);
        if (mFilasEncontradas > 0) picGN.setVisible(false);
    });
}

// The detail of the sale under the cursor.

void frmPListado::MostarDetalle() {
    trapErrors(QStringLiteral("MostarDetalle"), Origin, [&] {
        if (mTipoListado == InfVentasMode) {
            if (!opt3_0.value()) return;
            GPrep(GD, SlotGD,
                  QStringLiteral(
                      "ID;0|Hora Adicion;1200|Cant;1200|Detalle;4200|PUni;1200|PTotal;1200|Mozo;2000"));
        } else if (mTipoListado == DescuentosMode) {
            GPrep(GD, SlotGD, QStringLiteral("ID;0|Cant;1200|Detalle;4200|PUni;1200|PTotal;1200|Mozo;2000"));
        } else {
            return;
        }
        double id = Variant(g.textMatrix(g.row(), 0)).toDouble();
        InfVentasLlenaDetalle(id);
    });
}

void frmPListado::InfVentasLlenaDetalle(double id) {
    const QString idTexto = numberText(id);
    auto fila = [&](const QStringList& celdas) {
        GAddItem(GD, SlotGD, celdas.join(QLatin1Char('|')), false);
    };
    data::Recordset rs;
    rs.open(
        QStringLiteral("SELECT ventasdetail.Idventadetail, ventasdetail.hora, ventasdetail.cantidad, "
                       "ventasdetail.nombrearticulo, ventasdetail.Comentario, ventasdetail.monto , "
                       "ventasdetail.cantidad AS ccant, ventasdetail.monto*ventasdetail.cantidad AS mmonto, "
                       "empleados.nombres, ventasdetail.idproducto ") +
            QStringLiteral(" FROM ventasdetail LEFT JOIN empleados ON ventasdetail.idmozo = empleados.Id ") +
            QStringLiteral(" Where (((ventasdetail.idventa) = ") + idTexto + QStringLiteral(")) ") +
            QStringLiteral(" ORDER BY ventasdetail.hora "),
        gDB->dbaccess);
    while (!rs.eof()) {
        auto campo = [&](const char* name) { return rs.fields(QString::fromLatin1(name)).value(); };
        fila({campo("Idventadetail").toText(), FmtHoraNull(campo("hora")), campo("cantidad").toText(),
              campo("nombrearticulo").toText() + QStringLiteral(" ") + campo("Comentario").toText(),
              FmtImporteNull(ValorNumerico(campo("monto"))), FmtImporteNull(ValorNumerico(campo("mmonto"))),
              campo("nombres").toText()});
        rs.moveNext();
    }
    rs.close();
    rs.open(QStringLiteral("select * from Quenbrook where idventa = ") + idTexto +
                QStringLiteral(" order by hora "),
            gDB->dbaccess);
    while (!rs.eof()) {
        auto campo = [&](const char* name) { return rs.fields(QString::fromLatin1(name)).value(); };
        fila({campo("IDVENTADETAIL").toText(), FmtHoraNull(campo("Hora")), campo("CANTIDAD").toText(),
              campo("PRODUCTO").toText(), FmtImporteNull(ValorNumerico(campo("IMPORTE"))),
              FmtImporteNull(ValorNumerico(campo("CANTIDAD")) * ValorNumerico(campo("IMPORTE"))),
              campo("usuario").toText()});
        rs.moveNext();
    }
    rs.close();
    GD.setCol(1);
    GD.setRow(0);
    GD.setSort(forms::Grid::SortGenericAscending);
}

} // namespace quenbrook
