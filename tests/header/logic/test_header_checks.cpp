#include "header/logic/header_checks.h"

#include <QtTest>

#include <map>

using namespace ferolan;

namespace {

using Field = std::string HeaderData::*;

const std::map<QByteArray, Field> kFields = [] {
    std::map<QByteArray, Field> fields;
    for (const HeaderControl &control : kHeaderControls)
        fields.emplace(QByteArray(control.name.data(), static_cast<qsizetype>(control.name.size())),
                       control.text);
    return fields;
}();

HeaderData complete() {
    HeaderData header;
    header.Txt_data = "05032027";
    header.Txt_pg = "123456";
    header.Cmb_prov = "TORINO";
    header.Cmb_comune = "A074 - AGLIE'";
    header.Txt_foglio = "0012";
    header.Txt_mappali = "101, 102";
    header.Txt_tecnico = "ROSSI MARIO";
    header.Cmb_albo = "GEOMETRA";
    header.Cmb_prov_albo = "TORINO";
    header.Txt_quota = "245";
    header.Txt_estmedia = "1402345";
    header.Cmb_prec1 = "10";
    header.Cmb_prec2 = "20";
    header.Cmb_tipo = "Frazionamento -FR";
    header.Txt_note = "";
    return header;
}

QString verdict(const HeaderData &header) {
    std::optional<std::string> message = Controlla_intestazione(header);
    return message ? QString::fromStdString(*message) : QStringLiteral("ok");
}

} // namespace

class TestHeaderChecks : public QObject {
    Q_OBJECT
private slots:
    // An empty header fails on the province, then on the date alone; filling the fields one by one
    // then walks through every check in its order. A single blank passes as filled and the notes
    // are never asked for.
    void shouldReportTheFirstFailingCheckInOrder() {
        const std::vector<std::pair<QByteArray, QByteArray>> steps = {
            {"Txt_data", "0503202"}, {"Txt_data", "05032027"}, {"Txt_pg", " "},
            {"Cmb_comune", " "},     {"Txt_foglio", "12"},     {"Txt_foglio", "0012"},
            {"Txt_mappali", " "},    {"Txt_tecnico", " "},     {"Cmb_albo", " "},
            {"Cmb_prov_albo", " "},  {"Txt_quota", " "},       {"Txt_estmedia", " "},
            {"Cmb_prec1", " "},      {"Cmb_prec2", " "},       {"Cmb_tipo", " "}};
        const QStringList messages = {"Il formato della data non è corretto! <XXXXXXXX>",
                                      "Il campo Protocollo è vuoto!",
                                      "Il campo Comune è vuoto!",
                                      "Il campo foglio è vuoto!",
                                      "Il formato del foglio non è corretto! <XXXX>",
                                      "Il campo mappali è vuoto!",
                                      "Il campo tecnico è vuoto!",
                                      "Il campo albo di appartenenza è vuoto!",
                                      "Il campo provincia di iscrizione è vuoto!",
                                      "Il campo quota è vuoto!",
                                      "Il campo est media è vuoto!",
                                      "Il campo prec.lineare è vuoto!",
                                      "Il campo prec.angolare è vuoto!",
                                      "Il campo tipo di elaborato è vuoto!",
                                      "ok"};
        HeaderData header;
        QCOMPARE(verdict(header), QStringLiteral("Il campo Provincia è vuoto!"));
        header.Cmb_prov = "TORINO";
        QCOMPARE(verdict(header), QStringLiteral("Il campo data è vuoto!"));
        for (std::size_t i = 0; i < steps.size(); ++i) {
            header.*kFields.at(steps[i].first) = steps[i].second.toStdString();
            QCOMPARE(verdict(header), messages[static_cast<qsizetype>(i)]);
        }
    }

    void shouldCheckOnlyTheLengthsOfDateAndSheet_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected");
        const QString badDate = "Il formato della data non è corretto! <XXXXXXXX>";
        const QString badSheet = "Il formato del foglio non è corretto! <XXXX>";
        QTest::newRow("any eight characters")
            << QByteArray("Txt_data") << QByteArray("ab/cd/ef") << "ok";
        QTest::newRow("seven characters")
            << QByteArray("Txt_data") << QByteArray("5032027") << badDate;
        QTest::newRow("nine characters")
            << QByteArray("Txt_data") << QByteArray("050320270") << badDate;
        QTest::newRow("eight Windows-1252 letters")
            << QByteArray("Txt_data") << QByteArray("\xe0\xe8\xec\xf2\xf9\xe0\xe8\xec") << "ok";
        QTest::newRow("sheet of two") << QByteArray("Txt_foglio") << QByteArray("12") << badSheet;
        QTest::newRow("sheet of five")
            << QByteArray("Txt_foglio") << QByteArray("00123") << badSheet;
        QTest::newRow("any four characters")
            << QByteArray("Txt_foglio") << QByteArray("  A ") << "ok";
        QTest::newRow("empty province")
            << QByteArray("Cmb_prov") << QByteArray("") << "Il campo Provincia è vuoto!";
        QTest::newRow("province separator not checked")
            << QByteArray("Cmb_prov") << QByteArray("|") << "ok";
        QTest::newRow("notes optional") << QByteArray("Txt_note") << QByteArray("") << "ok";
    }
    void shouldCheckOnlyTheLengthsOfDateAndSheet() {
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        HeaderData header = complete();
        header.*kFields.at(field) = text.toStdString();
        QCOMPARE(verdict(header), expected);
    }

    void shouldRefuseTheBookletSeparator_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("name");
        auto row = [](const char *field, const char *text, const char *name) {
            QTest::newRow(field) << QByteArray(field) << QByteArray(text) << QString(name);
        };
        row("Txt_data", "0503|027", "data");
        row("Txt_pg", "|", "Protocollo");
        row("Cmb_comune", "A074 | AGLIE'", "Comune");
        row("Txt_foglio", "00|2", "foglio");
        row("Txt_mappali", "101|102", "mappali");
        row("Txt_tecnico", "ROSSI|", "tecnico");
        row("Cmb_albo", "|GEOMETRA", "albo di appartenenza");
        row("Cmb_prov_albo", "TO|", "provincia di iscrizione");
        row("Txt_quota", "2|5", "quota");
        row("Txt_estmedia", "|", "est media");
        row("Cmb_prec1", "1|0", "prec.lineare");
        row("Cmb_prec2", "2|0", "prec.angolare");
        row("Cmb_tipo", "Frazionamento |FR", "tipo di elaborato");
        row("Txt_note", "A|B", "note");
    }
    void shouldRefuseTheBookletSeparator() {
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, text);
        QFETCH(QString, name);
        HeaderData header = complete();
        header.*kFields.at(field) = text.toStdString();
        QCOMPARE(verdict(header), "Il campo " + name + " contiene il carattere | non ammesso!");
    }

    void shouldReportTheSeparatorAfterEveryOtherCheck() {
        HeaderData header = complete();
        header.Txt_note = "A|B";
        header.Cmb_prec2 = "2|0";
        header.Cmb_prov = "TO|";
        QCOMPARE(verdict(header),
                 QStringLiteral("Il campo prec.angolare contiene il carattere | non ammesso!"));
        header.Txt_foglio = "|";
        QCOMPARE(verdict(header), QStringLiteral("Il formato del foglio non è corretto! <XXXX>"));
        header.Txt_foglio = "0012";
        header.Cmb_tipo = "";
        QCOMPARE(verdict(header), QStringLiteral("Il campo tipo di elaborato è vuoto!"));
    }
};

QTEST_APPLESS_MAIN(TestHeaderChecks)
#include "test_header_checks.moc"
