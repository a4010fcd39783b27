#include "ui/model/qt_text.h"

#include "core/cp1252.h"

#include <QLocale>

namespace ferolan {

QString toQString(std::string_view cp1252) {
    std::string utf8 = utf8FromCp1252(cp1252);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<std::string> toCp1252(const QString &text) {
    QByteArray utf8 = text.toUtf8();
    return cp1252FromUtf8(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

bool fitsCp1252(const QString &text) {
    return toCp1252(text).has_value();
}

QString pathToQString(const std::filesystem::path &path) {
    return QString::fromStdString(utf8FromPath(path));
}

std::filesystem::path toPath(const QString &path) {
    return pathFromUtf8(path.toStdString());
}

char userDecimalSeparator() {
    return QLocale::system().decimalPoint() == QLatin1String(",") ? ',' : '.';
}

} // namespace ferolan
