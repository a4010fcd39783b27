#include "program_folder.h"

#include "core/files.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QtTest>

#include <fstream>

namespace ferolan::testing {
namespace fs = std::filesystem;

ProgramFolder::ProgramFolder(char check) {
    // The user's own settings (the remembered job folder) stay out of the test's way.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(userSettings().string()));
    fs::create_directory(archive());
    fs::create_directory(tgo());
    write(tgo() / "asciiexp.dat", "DEFINIZIONE ESISTENTE\r\n");
    QByteArray settingsText = "PATH_PF=" + QByteArray::fromStdString(archive().string()) +
                              "\r\nPATH_TGO=" + QByteArray::fromStdString(tgo().string()) +
                              "\r\ncheck=" + QByteArray(1, check) + "\r\n";
    write(settings(), settingsText);
    for (const char *name : {"aggiorna_export_tgo.txt", "cod_comuni_2.cod"})
        if (fs::exists(fs::path(FEROLAN_SOURCE_DIR) / "data" / name))
            fs::copy_file(fs::path(FEROLAN_SOURCE_DIR) / "data" / name, root() / name);
}

fs::path ProgramFolder::root() const {
    return fs::path(dir_.path().toStdString());
}

void ProgramFolder::write(const fs::path &path, const QByteArray &bytes) const {
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
}

QByteArray ProgramFolder::read(const fs::path &path) const {
    return QByteArray::fromStdString(readFile(path).bytes);
}

namespace {

void compareWithFile(QByteArray actual, const ProgramFolder &folder, const fs::path &expected) {
    actual.replace(QByteArray::fromStdString(folder.root().string()), "{root}");
    if (qEnvironmentVariableIsSet("FEROLAN_WRITE_EXPECTED"))
        folder.write(expected, actual);
    QCOMPARE(actual, folder.read(expected));
}

QString listed(QStringList entries) {
    if (entries.size() > 12)
        entries = {QString::number(entries.size()) + " entries: " + entries.first(), "...",
                   entries.last()};
    return '[' + entries.join(", ") + ']';
}

// A cell's text, its tooltip ("{tip}" when it repeats the text), and the colours it is given.
QString cellOf(const QModelIndex &index) {
    QString text = index.data().toString();
    const QString tip = index.data(Qt::ToolTipRole).toString();
    if (!tip.isEmpty())
        text += " {" + (tip == text ? "tip" : tip) + '}';
    for (auto [role, name] : {std::pair{Qt::ForegroundRole, "fg"}, {Qt::BackgroundRole, "bg"}})
        if (const QVariant brush = index.data(role); brush.isValid())
            text += QString(" {%1 %2}").arg(name, brush.value<QBrush>().color().name());
    return text;
}

// The line of a list that can be typed in, or a grid's corner button: shown with the list.
bool isPartOfAList(const QWidget *control) {
    for (const QWidget *parent = control->parentWidget(); parent; parent = parent->parentWidget())
        if (qobject_cast<const QComboBox *>(parent) ||
            qobject_cast<const QAbstractItemView *>(parent))
            return true;
    return false;
}

QString stateOf(const QWidget *control) {
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return '"' + edit->text() + '"';
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return '"' + button->text() + '"';
    if (auto *label = qobject_cast<const QLabel *>(control))
        return '"' + label->text() + '"';
    if (auto *combo = qobject_cast<const QComboBox *>(control)) {
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        return '"' + combo->currentText() + "\" " + listed(entries);
    }
    if (auto *list = qobject_cast<const QListWidget *>(control)) {
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries << list->item(i)->text();
        return listed(entries);
    }
    const auto *grid = qobject_cast<const QTableView *>(control);
    if (!grid)
        return {};
    const QAbstractItemModel &model = *grid->model();
    QStringList rows("tooltip {" + grid->toolTip() + '}');
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells << model.headerData(column, Qt::Horizontal).toString();
    rows << cells.join(" | ");
    for (int row = 0; row < model.rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < model.columnCount(); ++column)
            cells << cellOf(model.index(row, column));
        rows << cells.join(" | ");
    }
    return rows.join("\n    ");
}

} // namespace

fs::path expectedFileOf(const fs::path &folder, const QString &suffix) {
    QString name = QTest::currentTestFunction();
    if (QTest::currentDataTag())
        name += '_' + QString(QTest::currentDataTag()).replace(' ', '_');
    return folder / (name + suffix + ".txt").toStdString();
}

void compareEvents(const Run &run, const ProgramFolder &folder, const fs::path &expected,
                   const std::vector<fs::path> &files) {
    QByteArray seen = run.dialogs.events.join('\n').toUtf8() + '\n';
    for (const fs::path &file : files)
        seen += "file " + QByteArray::fromStdString(file.string()) + ":\n" +
                (fs::exists(file) ? folder.read(file) : QByteArray("(none)\n"));
    compareWithFile(seen, folder, expected);
}

void compareSnapshot(const QWidget &window, const ProgramFolder &folder, const fs::path &expected) {
    QStringList lines("title \"" + window.windowTitle() + '"');
    for (const QWidget *control : window.findChildren<QWidget *>()) {
        const QString state = stateOf(control);
        if (state.isNull() || control->objectName().startsWith("qt_") || isPartOfAList(control))
            continue;
        const QString name = control->objectName();
        lines << (name.isEmpty() ? control->metaObject()->className() : name) +
                     (control->isEnabled() ? "" : " disabled") +
                     (control->isVisibleTo(&window) ? "" : " hidden") + ' ' + state;
    }
    compareWithFile(lines.join('\n').toUtf8() + '\n', folder, expected);
}

} // namespace ferolan::testing
