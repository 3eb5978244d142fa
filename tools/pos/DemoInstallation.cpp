#include "DemoInstallation.h"

#include "PosDatabase.h"

#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace demo {

using runtime::Variant;

namespace {

[[noreturn]] void fail(const QString& what) {
    throw runtime::RuntimeError(runtime::err::DatabaseError, what);
}

// The pseudo-random choices, the same on every platform for one seed.
class Random {
public:
    explicit Random(unsigned seed) : m_engine(seed) {}
    int between(int low, int high) { return low + int(m_engine() % unsigned(high - low + 1)); }
    bool chance(double p) { return double(m_engine()) < p * 4294967296.0; }
    template <class T> const T& pick(const std::vector<T>& items) {
        return items[between(0, int(items.size()) - 1)];
    }

private:
    std::mt19937 m_engine;
};

// Rows of one table through one prepared statement, values stored as the data layer stores
// them (dates and amounts as doubles, whole numbers as integers, texts as UTF-8).
class TableWriter {
public:
    TableWriter(sqlite3* db, const QString& table, const QStringList& columns)
        : m_db(db), m_count(columns.size()) {
        QStringList params;
        for (int i = 1; i <= m_count; ++i)
            params << QStringLiteral("?%1").arg(i);
        const QByteArray sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(table, columns.join(QLatin1Char(',')), params.join(QLatin1Char(',')))
                                   .toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_stmt, nullptr) != SQLITE_OK)
            fail(QString::fromUtf8(sqlite3_errmsg(db)));
    }
    ~TableWriter() { sqlite3_finalize(m_stmt); }
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // The values in the order of the columns; returns the new row's key.
    qint64 add(std::initializer_list<Variant> values) {
        if (int(values.size()) != m_count) fail(QStringLiteral("Wrong number of values"));
        int i = 1;
        for (const Variant& v : values)
            bind(i++, v);
        if (sqlite3_step(m_stmt) != SQLITE_DONE) fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
        sqlite3_reset(m_stmt);
        return sqlite3_last_insert_rowid(m_db);
    }

private:
    void bind(int index, const Variant& v) {
        switch (v.type()) {
        case Variant::Type::Empty:
        case Variant::Type::Null:
            sqlite3_bind_null(m_stmt, index);
            break;
        case Variant::Type::Boolean:
            sqlite3_bind_int64(m_stmt, index, v.rawNumber() != 0 ? -1 : 0);
            break;
        case Variant::Type::Integer:
        case Variant::Type::Long:
            sqlite3_bind_int64(m_stmt, index, qint64(v.rawNumber()));
            break;
        case Variant::Type::String: {
            const QByteArray utf8 = v.rawString().toUtf8();
            sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            sqlite3_bind_double(m_stmt, index, v.rawNumber());
        }
    }

    sqlite3* m_db;
    int m_count;
    sqlite3_stmt* m_stmt = nullptr;
};

// --- The restaurant ---------------------------------------------------------------------

enum Course { Drink, Starter, Main, Dessert, Coffee };

struct Family {
    int id;
    const char* name;
    Course course;
    bool active;
};

const std::vector<Family> Families = {
    {1, "Entradas", Starter, true},
    {2, "Pizzas", Main, true},
    {3, "Minutas y parrilla", Main, true},
    {4, "Pastas", Main, true},
    {5, "Ensaladas", Main, true},
    {6, "Postres", Dessert, true},
    {7, "Bebidas sin alcohol", Drink, true},
    {8, "Cervezas y vinos", Drink, true},
    {9, "Cafetería", Coffee, true},
    {10, "Promociones", Main, false},
};

struct Product {
    int id;
    const char* name;
    int family;
    int price;
    int preparation;    // minutes in the kitchen
    bool active = true; // false: taken off the menu, though still sold in the period
};

const std::vector<Product> Products = {
    {101, "Empanada de carne", 1, 1800, 12},
    {102, "Empanada de jamón y queso", 1, 1800, 12},
    {103, "Provoleta", 1, 7500, 10},
    {104, "Rabas", 1, 12500, 15},
    {105, "Papas fritas", 1, 5200, 10},
    {201, "Pizza muzzarella", 2, 9800, 18},
    {202, "Pizza napolitana", 2, 11200, 18},
    {203, "Pizza fugazzeta", 2, 10500, 18},
    {204, "Pizza especial", 2, 12800, 20},
    {205, "Fainá", 2, 2200, 8},
    {206, "Pizza de anchoas", 2, 11900, 18, false},
    {301, "Milanesa napolitana", 3, 13900, 20},
    {302, "Milanesa con papas fritas", 3, 12400, 18},
    {303, "Bife de chorizo", 3, 17500, 25},
    {304, "Suprema a la suiza", 3, 13200, 20},
    {305, "Hamburguesa completa", 3, 10900, 15},
    {306, "Lomito completo", 3, 12900, 15},
    {307, "Matambre a la pizza", 3, 14500, 22, false},
    {401, "Ñoquis con salsa bolognesa", 4, 10400, 16},
    {402, "Sorrentinos de jamón y queso", 4, 11800, 16},
    {403, "Ravioles de verdura", 4, 10200, 16},
    {404, "Tallarines al pesto", 4, 9600, 14},
    {501, "Ensalada mixta", 5, 6200, 6},
    {502, "Ensalada César", 5, 8900, 8},
    {601, "Flan casero", 6, 4800, 3},
    {602, "Flan mixto", 6, 5600, 3},
    {603, "Panqueque con dulce de leche", 6, 5200, 8},
    {604, "Helado (2 bochas)", 6, 4500, 3},
    {605, "Tiramisú", 6, 6400, 3},
    {701, "Agua mineral 500 cc", 7, 2400, 1},
    {702, "Agua con gas 500 cc", 7, 2400, 1},
    {703, "Gaseosa línea Coca-Cola", 7, 3200, 1},
    {704, "Limonada con menta y jengibre", 7, 4200, 4},
    {705, "Jugo de naranja exprimido", 7, 4000, 4},
    {801, "Cerveza tirada (pinta)", 8, 5200, 2},
    {802, "Cerveza porrón", 8, 4600, 1},
    {803, "Vino tinto Malbec (botella)", 8, 16500, 2},
    {804, "Copa de vino de la casa", 8, 5600, 1},
    {805, "Fernet con cola", 8, 6500, 2},
    {901, "Café", 9, 2600, 3},
    {902, "Cortado", 9, 2800, 3},
    {903, "Café con leche y medialunas", 9, 5400, 5},
    {904, "Té", 9, 2400, 3},
    {1001, "Promo almuerzo ejecutivo", 10, 11000, 15},
};

std::vector<const Product*> productsOf(Course course, bool activeOnly = true) {
    std::vector<const Product*> result;
    for (const Product& p : Products)
        for (const Family& f : Families)
            if (f.id == p.family && f.course == course && (f.active || !activeOnly)) result.push_back(&p);
    return result;
}

struct Person {
    const char* apellidos;
    const char* nombres;
};

// Waiters (empleados 1 to 6) and the delivery rider (7).
const std::vector<Person> Waiters = {{"Gómez", "Juan"},     {"Fernández", "Lucía"}, {"Rodríguez", "Martín"},
                                     {"López", "Carolina"}, {"Díaz", "Sebastián"},  {"Martínez", "Florencia"},
                                     {"Romero", "Nicolás"}};

struct Customer {
    const char* apellidos;
    const char* nombres;
    const char* direccion;
    const char* telefono;
};

const std::vector<Customer> Customers = {
    {"Pérez", "María", "Av. San Martín 1450", "4555-1020"},
    {"Sosa", "Ricardo", "Belgrano 872", "4555-3344"},
    {"Acosta", "Valeria", "Mitre 215", "4555-7781"},
    {"Benítez", "Hernán", "Rivadavia 3390", "4555-0912"},
    {"Castro", "Julieta", "Sarmiento 1021", "4555-6645"},
    {"Molina", "Gustavo", "Lavalle 548", "4555-2290"},
    {"Ortiz", "Camila", "Av. Libertador 7100", "4555-4018"},
    {"Silva", "Federico", "Moreno 66", "4555-8873"},
    {"Torres", "Paula", "Alsina 1730", "4555-5501"},
    {"Vega", "Andrés", "Urquiza 409", "4555-1276"},
};

const std::vector<QString> DeletionMotives = {
    QStringLiteral("Error de carga"),   QStringLiteral("Cliente se arrepintió"),
    QStringLiteral("Demora en cocina"), QStringLiteral("Producto agotado"),
    QStringLiteral("Plato frío"),       QStringLiteral("Cambio de pedido"),
    QStringLiteral("Pedido duplicado"),
};
const std::vector<QString> VoidMotives = {
    QStringLiteral("Cliente se retiró sin consumir"),
    QStringLiteral("Mesa cargada por error"),
    QStringLiteral("Venta duplicada"),
    QStringLiteral("Cobro rechazado"),
};
const std::vector<QString> ReplaceMotives = {
    QStringLiteral("Factura A en lugar de B"),
    QStringLiteral("Cambio de medio de pago"),
    QStringLiteral("Error en la facturación"),
};
// Options of a line: notes for the kitchen, and extras charged at their price.
struct Option {
    const char* concepto;
    int price;
};
const std::vector<Option> LineOptions = {
    {"Sin sal", 0}, {"Bien cocida", 0},    {"Sin cebolla", 0},    {"Aderezos aparte", 0},
    {"Jugosa", 0},  {"Extra queso", 1500}, {"Huevo frito", 1200}, {"Guarnición extra", 2500}};

// Users: 1 admin (administrator, no password), 2 the cashier with reports, 3 a waiter without
// them, 4 an inactive cashier, 5 the evening cashier.
struct User {
    const char* apodo;
    const char* password;
    int estado, admin, reportes;
};
const std::vector<User> Users = {{AdminUser, AdminPassword, 1, 1, 1},
                                 {CashierUser, CashierPassword, 1, 0, 1},
                                 {"diego", "diego", 1, 0, 0},
                                 {"marta", "marta", 0, 0, 1},
                                 {"pablo", "pablo", 1, 0, 1}};
constexpr int MorningCashier = 2;
constexpr int EveningCashier = 5;
constexpr int Tables = 24;
constexpr int CounterTable = 25;  // take-away orders
constexpr int DeliveryTable = 26; // deliveries

// --- One sale, in seconds from midnight of the first day ----------------------------------

struct Line {
    const Product* product;
    int quantity;
    int moment;
    int option; // 1 + index into LineOptions; 0 for none
};

struct Deletion {
    const Product* product;
    int quantity;
    int moment;
    int delay; // seconds since it was ordered
    QString motive;
    bool motiveRow; // an "ITEM" row carries the motive
    int user;
};

struct Sale {
    int opened = 0;
    int ticket = 0; // time of the ticket
    int closed = 0;
    int estado = 2; // 1 open, 2 closed, 3 voided
    bool hasTicket = true;
    QString letter = QStringLiteral("B");
    int tmesa = 0;
    QString smesa;
    int idmesa = 0;
    int waiter = 1;
    int customer = 0; // index + 1 into Customers for deliveries
    int cashier = MorningCashier;
    int discountPercent = 0;
    int mediopago = 1;
    std::vector<Line> lines;
    std::vector<Deletion> deletions;
    int replacement = -1;         // index of the sale that replaced this voided one
    bool nullReplacement = false; // a voided sale not replaced whose reference is empty, not 0
    QString auditMotive;          // of the code-21 audit entry, when there is one
    int auditUser = 1;
    bool withoutCashDate = false;
    int id = 0;
};

struct Shift {
    int day = 0; // 0 is the first day
    bool evening = false;
    int opened = 0;
    int closed = 0;
    bool open = false;
    int sales = 0;
    int id = 0;
};

class Generator {
public:
    Generator(sqlite3* db, const Options& options)
        : m_db(db), m_options(options), m_random(options.seed),
          m_firstDay((options.lastDay != 0 ? std::floor(options.lastDay) : runtime::today()) -
                     (options.days - 1)) {}

    Counts run();

private:
    // The moment's day, whole: moments count seconds from the first day's midnight.
    Variant dateOf(int moment) const {
        const int day = moment / 86400;
        return Variant::date(m_firstDay + day);
    }
    static Variant timeOf(int moment) {
        const int t = moment % 86400;
        return Variant::date(runtime::timeSerial(t / 3600, t / 60 % 60, t % 60));
    }
    static Variant timeSpan(int seconds) { return timeOf(seconds); }

    void writeFixedTables();
    std::vector<Shift> planShifts();
    std::vector<Sale> salesOf(const Shift& shift);
    Sale newSale(const Shift& shift, int opened, int closesBy);
    void addRound(Sale& sale, Course course, int lines, int moment, int covers);
    void addDeletions(Sale& sale, bool openSale);
    void writeShift(const Shift& shift);
    void writeSale(Sale& sale, int replacedBy, const Shift& shift);

    sqlite3* m_db;
    Options m_options;
    Random m_random;
    double m_firstDay;
    Counts m_counts;
    std::unique_ptr<TableWriter> m_ventas, m_lines, m_deleted, m_audit, m_observations, m_sesion;
    int m_lastSaleId = 0;
    int m_nextLineId = 1;
    int m_ticketA = 1204;
    int m_ticketB = 38411;
    int m_ticketX = 912;
    int m_takeAway = 0;
};

void Generator::writeFixedTables() {
    TableWriter users(m_db, QStringLiteral("usuarios"),
                      {"id", "apodo", "password", "estado", "Admin", "categorizacion", "reportes"});
    for (int i = 0; i < int(Users.size()); ++i) {
        const User& u = Users[i];
        users.add({i + 1, u.apodo, u.password, u.estado, u.admin, 0, u.reportes});
    }
    TableWriter rubros(m_db, QStringLiteral("rubros"), {"IdR", "descripcion", "estado"});
    for (const Family& f : Families)
        rubros.add({f.id, f.name, f.active ? 1 : 0});
    TableWriter productos(m_db, QStringLiteral("productos"), {"Id", "nombre", "estado", "idrubro"});
    for (const Product& p : Products)
        productos.add({p.id, p.name, p.family == 10 || !p.active ? 0 : 1, p.family});
    TableWriter mesas(m_db, QStringLiteral("mesas"), {"Id", "nombre"});
    for (int i = 1; i <= Tables; ++i)
        mesas.add({i, QStringLiteral("Mesa %1").arg(i)});
    mesas.add({CounterTable, "Mostrador"});
    mesas.add({DeliveryTable, "Delivery"});
    TableWriter empleados(m_db, QStringLiteral("empleados"), {"Id", "numero", "APELLIDOS", "NOMBRES"});
    for (int i = 0; i < int(Waiters.size()); ++i)
        empleados.add({i + 1, 11 + i, Waiters[i].apellidos, Waiters[i].nombres});
    TableWriter clientes(m_db, QStringLiteral("clientes"), {"Id", "nombres", "estado"});
    for (int i = 0; i < int(Customers.size()); ++i)
        clientes.add({i + 1,
                      QString::fromUtf8(Customers[i].nombres) + QLatin1Char(' ') +
                          QString::fromUtf8(Customers[i].apellidos),
                      1});
}

std::vector<Shift> Generator::planShifts() {
    std::vector<Shift> shifts;
    std::vector<double> weights;
    for (int day = 0; day < m_options.days; ++day) {
        const int weekday = runtime::toDate(m_firstDay + day).dayOfWeek(); // 1 Monday .. 7 Sunday
        const double busy = weekday == 5 || weekday == 6 ? 1.4
                            : weekday == 7               ? 1.2
                            : weekday == 1               ? 0.8
                                                         : 1.0;
        for (bool evening : {false, true}) {
            Shift s;
            s.day = day;
            s.evening = evening;
            const int midnight = day * 86400;
            s.opened = midnight + (evening ? 19 * 3600 : 10 * 3600) + m_random.between(0, 20) * 60;
            s.closed = midnight + (evening ? 24 * 3600 + 45 * 60 : 16 * 3600 + 15 * 60) +
                       m_random.between(0, 30) * 60;
            s.open = day == m_options.days - 1 && evening;
            if (s.open) s.closed = midnight + 24 * 3600 - 5 * 60; // by now, its sales are all of its own day
            shifts.push_back(s);
            weights.push_back(busy * (evening ? 1.3 : 1.0));
        }
    }
    const int total = m_options.sales > 0 ? m_options.sales : 34 * int(shifts.size());
    double sum = 0;
    for (double w : weights)
        sum += w;
    int given = 0;
    for (size_t i = 0; i < shifts.size(); ++i) {
        shifts[i].sales =
            i + 1 == shifts.size() ? std::max(0, total - given) : int(std::lround(total * weights[i] / sum));
        given += shifts[i].sales;
    }
    return shifts;
}

void Generator::addRound(Sale& sale, Course course, int lines, int moment, int covers) {
    const std::vector<const Product*> menu = productsOf(course);
    for (int i = 0; i < lines; ++i) {
        const Product* p = m_random.pick(menu);
        int quantity = 1;
        if (course == Drink || course == Coffee)
            quantity = m_random.between(1, std::max(1, covers / 2 + 1));
        else if (m_random.chance(0.2))
            quantity = 2;
        int option = 0;
        if ((course == Main || course == Starter) && m_random.chance(0.08))
            option = m_random.between(1, int(LineOptions.size()));
        sale.lines.push_back({p, quantity, moment + i * 20, option});
    }
}

Sale Generator::newSale(const Shift& shift, int opened, int closesBy) {
    Sale sale;
    sale.opened = opened;
    sale.cashier = shift.evening ? EveningCashier : MorningCashier;
    const int kind = m_random.between(1, 100);
    const bool salon = kind <= 75;
    if (salon) {
        sale.tmesa = 0;
        sale.idmesa = m_random.between(1, Tables);
        sale.smesa = QString::number(sale.idmesa);
        sale.waiter = m_random.between(1, 6);
    } else if (kind <= 87) {
        sale.tmesa = 1;
        sale.idmesa = CounterTable;
        sale.smesa = QString::number(++m_takeAway);
        sale.waiter = m_random.between(1, 6);
    } else {
        sale.tmesa = 2;
        sale.idmesa = DeliveryTable;
        sale.customer = m_random.between(1, int(Customers.size()));
        sale.smesa = QString::number(++m_takeAway);
        sale.waiter = 7;
    }

    const int covers = salon ? m_random.between(1, 6) : m_random.between(1, 3);
    const int stay = salon ? m_random.between(35, 110) * 60 : m_random.between(15, 40) * 60;
    sale.closed = std::min(opened + stay, closesBy);
    sale.ticket = sale.closed - m_random.between(2, 8) * 60;
    if (sale.ticket <= opened) sale.ticket = opened + 60;
    if (sale.closed <= sale.ticket) sale.closed = sale.ticket + 60;

    // Rounds: drinks and starters, mains, then desserts or coffee; the kitchen times fit the stay.
    const int span = std::max(120, sale.ticket - opened - 60);
    int moment = opened + 60;
    if (salon) {
        addRound(sale, Drink, m_random.between(1, 3), moment, covers);
        if (m_random.chance(0.5)) addRound(sale, Starter, m_random.between(1, 2), moment + 60, covers);
        moment += span / 4;
        addRound(sale, Main, m_random.between(1, std::min(4, covers)), moment, covers);
        if (m_random.chance(0.35)) addRound(sale, Drink, m_random.between(1, 2), moment + span / 4, covers);
        moment += span / 2;
        if (m_random.chance(0.55))
            addRound(sale, m_random.chance(0.6) ? Dessert : Coffee, m_random.between(1, 2), moment, covers);
    } else {
        addRound(sale, Main, m_random.between(1, 4), moment, covers);
        addRound(sale, Drink, m_random.between(0, 2), moment + 30, covers);
        if (m_random.chance(0.3)) addRound(sale, Dessert, 1, moment + 60, covers);
    }

    const int letter = m_random.between(1, 100);
    sale.letter = letter <= 12   ? QStringLiteral("A")
                  : letter <= 22 ? QStringLiteral("X")
                                 : QStringLiteral("B");
    sale.discountPercent = m_random.chance(0.08) ? 10 : 0;
    sale.mediopago = m_random.between(1, 3);
    return sale;
}

void Generator::addDeletions(Sale& sale, bool openSale) {
    if (!m_random.chance(0.22)) return;
    const int count = m_random.between(1, 100) <= 70 ? 1 : m_random.between(1, 100) <= 83 ? 2 : 3;
    // An open sale's deletions happen before the end of its day.
    const int end =
        openSale ? std::min(sale.opened + 90 * 60, (sale.opened / 86400 + 1) * 86400 - 60) : sale.ticket;
    for (int i = 0; i < count; ++i) {
        Deletion d;
        const bool kitchen = m_random.chance(0.7);
        const std::vector<const Product*> menu = productsOf(kitchen ? Main : Drink);
        d.product = m_random.pick(menu);
        d.quantity = m_random.chance(0.85) ? 1 : 2;
        d.motive = m_random.pick(DeletionMotives);
        // Some items leave the sale after its ticket was printed.
        const bool afterTicket = !openSale && sale.hasTicket && m_random.chance(0.12);
        d.moment = afterTicket ? sale.ticket + m_random.between(1, 20) * 60 + m_random.between(0, 59)
                               : m_random.between(sale.opened + 120, std::max(sale.opened + 180, end - 60));
        d.delay = d.motive == QLatin1String("Demora en cocina") ? m_random.between(25, 50) * 60
                                                                : m_random.between(0, 15) * 60;
        d.motiveRow = m_random.chance(0.7);
        d.user = m_random.chance(0.2) ? 1 : sale.cashier;
        sale.deletions.push_back(d);
    }
}

std::vector<Sale> Generator::salesOf(const Shift& shift) {
    std::vector<Sale> sales;
    const int first = shift.opened + 10 * 60;
    const int last = std::max(first + 60, shift.closed - 45 * 60);
    std::vector<int> openings;
    openings.reserve(size_t(std::max(0, shift.sales)));
    for (int i = 0; i < shift.sales; ++i)
        openings.push_back(m_random.between(first, last));
    std::sort(openings.begin(), openings.end());

    for (size_t i = 0; i < openings.size(); ++i) {
        Sale sale = newSale(shift, openings[i], shift.closed - 5 * 60);
        // The latest sales of the open shift are still open.
        const bool open = shift.open && i + 6 >= openings.size();
        if (open) {
            sale.estado = 1;
            sale.hasTicket = false;
        }
        addDeletions(sale, open);
        sales.push_back(sale);
        if (open) continue;

        if (m_random.chance(0.05)) {
            const size_t voided = sales.size() - 1;
            sales[voided].estado = 3;
            sales[voided].hasTicket = m_random.chance(0.5);
            sales[voided].auditUser = m_random.chance(0.5) ? 1 : sales[voided].cashier;
            if (!shift.open && m_random.chance(0.4)) {
                // Voided and billed again: the replacement takes the same lines a moment later.
                Sale again = sales[voided];
                again.estado = 2;
                again.hasTicket = true;
                again.deletions.clear();
                again.opened = sales[voided].closed + m_random.between(1, 3) * 60;
                again.ticket = again.opened + m_random.between(2, 6) * 60;
                again.closed = again.ticket + m_random.between(1, 4) * 60;
                for (Line& l : again.lines)
                    l.moment = again.opened + 30;
                sales[voided].replacement = int(sales.size());
                sales[voided].auditMotive = m_random.pick(ReplaceMotives);
                sales.push_back(again);
            } else {
                sales[voided].nullReplacement = m_random.chance(0.3);
                if (m_random.chance(0.6)) sales[voided].auditMotive = m_random.pick(VoidMotives);
            }
        }
    }

    // Identifiers follow the opening times, as the point of sale gives them.
    std::vector<size_t> order(sales.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return sales[a].opened < sales[b].opened; });
    std::vector<Sale> sorted;
    std::vector<int> position(sales.size());
    for (size_t i = 0; i < order.size(); ++i) {
        position[order[i]] = int(i);
        sorted.push_back(sales[order[i]]);
    }
    for (Sale& s : sorted)
        if (s.replacement >= 0) s.replacement = position[size_t(s.replacement)];
    return sorted;
}

void Generator::writeShift(const Shift& shift) {
    const Variant null = Variant::null();
    const int cashier = shift.evening ? EveningCashier : MorningCashier;
    std::vector<Sale> sales = salesOf(shift);
    double totalGeneral = 0;
    for (const Sale& s : sales)
        if (s.estado == 2)
            for (const Line& l : s.lines)
                totalGeneral += l.quantity * l.product->price * (100 - s.discountPercent) / 100.0;
    const int id = int(
        m_sesion->add({Variant::null(), 1001 + m_counts.shifts, dateOf(shift.opened), timeOf(shift.opened),
                       shift.open ? null : dateOf(shift.closed), shift.open ? null : timeOf(shift.closed),
                       cashier, shift.open ? null : Variant(cashier), shift.open ? 0.0 : totalGeneral}));
    ++m_counts.shifts;
    Shift written = shift;
    written.id = id;

    // Keys first, so that a voided sale can name the sale that replaced it.
    for (Sale& s : sales)
        s.id = ++m_lastSaleId;
    for (size_t i = 0; i < sales.size(); ++i) {
        Sale& s = sales[i];
        s.withoutCashDate = shift.day == m_options.days - 1 || m_random.chance(0.04);
        writeSale(s, s.replacement >= 0 ? sales[size_t(s.replacement)].id : 0, written);
    }
}

void Generator::writeSale(Sale& sale, int replacedBy, const Shift& shift) {
    const Variant null = Variant::null();
    double subtotal = 0;
    for (const Line& l : sale.lines)
        subtotal += l.quantity * l.product->price;
    const double descuento = std::round(subtotal * sale.discountPercent / 100.0);
    const double total = subtotal - descuento;
    const bool open = sale.estado == 1;
    const bool ticket = sale.hasTicket && !open;
    QString number;
    if (ticket) {
        int& counter = sale.letter == QLatin1String("A")   ? m_ticketA
                       : sale.letter == QLatin1String("X") ? m_ticketX
                                                           : m_ticketB;
        number = QStringLiteral("%1").arg(++counter, 8, 10, QLatin1Char('0'));
    }
    const double paid = open ? 0.0 : sale.mediopago == 1 ? std::ceil(total / 1000.0) * 1000.0 : total;
    const Customer* customer = sale.customer > 0 ? &Customers[size_t(sale.customer - 1)] : nullptr;
    auto customerText = [&](const char* text) { return customer ? Variant(text) : null; };

    m_ventas->add({sale.id,
                   shift.id,
                   sale.withoutCashDate ? null : dateOf(shift.opened),
                   dateOf(sale.opened),
                   ticket ? dateOf(sale.ticket) : null,
                   ticket ? timeOf(sale.ticket) : null,
                   timeOf(sale.opened),
                   open ? null : timeOf(sale.closed),
                   sale.estado,
                   ticket ? Variant(sale.letter) : null,
                   ticket ? Variant(number) : null,
                   1,
                   ticket ? total : 0.0,
                   total,
                   subtotal,
                   descuento,
                   paid,
                   open ? 0.0 : paid - total,
                   ticket ? 1 : 0,
                   ticket ? 1 : 0,
                   replacedBy             ? Variant(replacedBy)
                   : sale.nullReplacement ? null
                                          : Variant(0),
                   sale.smesa,
                   sale.tmesa,
                   sale.idmesa,
                   sale.cashier,
                   sale.customer,
                   sale.waiter,
                   customer ? Variant(customer->apellidos) : null,
                   customer ? Variant(customer->nombres) : null,
                   customerText(customer ? customer->direccion : nullptr),
                   customerText(customer ? customer->telefono : nullptr),
                   sale.tmesa == 2 ? 2 : 0,
                   sale.mediopago});
    ++m_counts.sales;
    if (open) ++m_counts.open;
    if (sale.estado == 3) ++m_counts.voided;
    if (sale.replacement >= 0) ++m_counts.replaced;
    if (sale.withoutCashDate) ++m_counts.withoutCashDate;

    for (const Line& l : sale.lines) {
        const int lineId = m_nextLineId++;
        m_lines->add({lineId, sale.id, timeOf(l.moment), dateOf(l.moment), double(l.quantity),
                      l.product->name, double(l.product->price), 0, l.product->id, null, sale.waiter, 0});
        if (l.option > 0) {
            const Option& o = LineOptions[size_t(l.option - 1)];
            m_observations->add({lineId, l.option, double(o.price), o.concepto});
        }
        ++m_counts.lines;
    }
    // The discount is a line of its own, of product -7, at the ticket's time.
    if (descuento != 0) {
        const int moment = ticket ? sale.ticket : sale.opened;
        m_lines->add({m_nextLineId++, sale.id, timeOf(moment), dateOf(moment), 1.0,
                      QStringLiteral("Descuento %1%").arg(sale.discountPercent), -descuento, 0, -7, null,
                      sale.waiter, 0});
        ++m_counts.discounts;
    }

    const Variant mesa = sale.tmesa == 0 ? Variant(sale.smesa.toInt()) : Variant(0);
    for (const Deletion& d : sale.deletions) {
        const int lineId = m_nextLineId++; // the deleted line's key, no longer in ventasdetail
        const QString user = QString::fromUtf8(Users[size_t(d.user - 1)].apodo);
        if (d.motiveRow) {
            m_deleted->add({sale.id, lineId, shift.id, dateOf(d.moment), timeOf(d.moment), double(d.quantity),
                            d.product->name, 0.0, null, null, "ITEM", d.motive, user, sale.waiter, mesa,
                            d.product->id});
            ++m_counts.motiveRows;
        }
        m_deleted->add({sale.id, lineId, shift.id, dateOf(d.moment), timeOf(d.moment), double(d.quantity),
                        d.product->name, double(d.product->price), timeSpan(d.product->preparation * 60),
                        timeSpan(d.delay), "PRODUCTO", d.motive, user, sale.waiter, mesa, d.product->id});
        ++m_counts.deletions;
    }

    if (!sale.auditMotive.isEmpty()) {
        m_audit->add({sale.id, 21, Users[size_t(sale.auditUser - 1)].apodo, sale.auditMotive});
        ++m_counts.audits;
    } else if (ticket && m_random.chance(0.02)) {
        m_audit->add({sale.id, 5, Users[size_t(sale.cashier - 1)].apodo, "Reimpresión de ticket"});
    }
}

Counts Generator::run() {
    sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr);
    writeFixedTables();
    m_sesion = std::make_unique<TableWriter>(
        m_db, QStringLiteral("sesion"),
        QStringList{"Idsesion", "NROTURNO", "fechaapertura", "horaapertura", "fechacierre", "horacierre",
                    "idcajeroapertura", "idcajerocierre", "TotalGeneral"});
    m_ventas = std::make_unique<TableWriter>(
        m_db, QStringLiteral("ventas"),
        QStringList{"Idventa",          "idsesion",     "fechacaja",      "fecha",         "SF_FECHA",
                    "SF_hora",          "horaapertura", "horacierre",     "estado",        "TIPOFACTURA",
                    "NUMEROTICKET",     "NUMEROSUC",    "SF_total",       "total",         "subtotal",
                    "descuento",        "montopagado",  "dinerodevuelto", "facturasacada", "facturaimpresa",
                    "reemplazadoporid", "smesa",        "tmesa",          "idmesa",        "idusuario",
                    "idcliente",        "idmozo",       "apellidos",      "nombres",       "direccion",
                    "teluno",           "tipo",         "mediopago"});
    m_lines = std::make_unique<TableWriter>(m_db, QStringLiteral("ventasdetail"),
                                            QStringList{"IDVENTADETAIL", "IDVENTA", "HORA", "fecha",
                                                        "CANTIDAD", "NOMBREARTICULO", "MONTO", "estado",
                                                        "idproducto", "Comentario", "idmozo", "noimprimir"});
    m_observations =
        std::make_unique<TableWriter>(m_db, QStringLiteral("VentasDetailObservaciones"),
                                      QStringList{"IDVENTADETAIL", "idobservacion", "PRECIO", "concepto"});
    m_deleted = std::make_unique<TableWriter>(
        m_db, QStringLiteral("Quenbrook"),
        QStringList{"IDVENTA", "IDVENTADETAIL", "caja", "Fecha", "HORA", "CANTIDAD", "PRODUCTO", "IMPORTE",
                    "PREPARACION", "DEMORA", "TIPO", "MOTIVO", "usuario", "mozo", "mesa", "idproducto"});
    m_audit = std::make_unique<TableWriter>(m_db, QStringLiteral("auditoria"),
                                            QStringList{"idventa", "codigo", "usuario", "motivo"});

    for (const Shift& shift : planShifts())
        writeShift(shift);

    m_sesion.reset();
    m_ventas.reset();
    m_lines.reset();
    m_observations.reset();
    m_deleted.reset();
    m_audit.reset();
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    return m_counts;
}

} // namespace

QString programFolder(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("reportes/quenbrook"));
}

Counts makeInstallation(const QString& folder, const Options& options) {
    const QString root = QDir(folder).absolutePath();
    if (!QDir().mkpath(root + QStringLiteral("/db")) || !QDir().mkpath(programFolder(root)))
        fail(QStringLiteral("Cannot create the folders of ") + root);
    QFile ini(root + QStringLiteral("/bases.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        ini.write("Directorio|" + root.toUtf8() + "\r\n") < 0)
        fail(QStringLiteral("Cannot write ") + ini.fileName());
    ini.close();

    const QString mainFile = root + QStringLiteral("/db/db.mdb");
    posdb::createMainDatabase(mainFile);
    posdb::createSpoolerDatabase(root + QStringLiteral("/spooler.mdb"));

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(mainFile.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        fail(QStringLiteral("Cannot open ") + mainFile);
    }
    try {
        Generator generator(db, options);
        const Counts counts = generator.run();
        sqlite3_close(db);
        if (options.sqlServer) {
            const QString server = root + QStringLiteral("/db/pos.mdf");
            posdb::copyAsSqlServer(mainFile, server);
            if (!ini.open(QIODevice::Append) ||
                ini.write("DBKIND|2\r\nCONNSTRING|" + posdb::sqlServerConnectionString(server).toUtf8() +
                          "\r\n") < 0)
                fail(QStringLiteral("Cannot write ") + ini.fileName());
        }
        return counts;
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        throw;
    }
}

} // namespace demo
