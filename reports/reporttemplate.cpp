#include "reports/reporttemplate.h"

#include <QFile>
#include <QHash>
#include <QStringList>

namespace zf::report {

namespace {

const QHash<QString, BandKind>& bandKinds()
{
    static const QHash<QString, BandKind> kinds = {
        {QStringLiteral("tytul"), BandKind::Title},
        {QStringLiteral("naglowek_strony"), BandKind::PageHeader},
        {QStringLiteral("naglowek_kolumn"), BandKind::ColumnHeader},
        {QStringLiteral("dane"), BandKind::Data},
        {QStringLiteral("stopka_strony"), BandKind::PageFooter},
        {QStringLiteral("podsumowanie"), BandKind::Summary}};
    return kinds;
}

bool toNumber(const QString& s, double* out)
{
    bool ok = false;
    *out = QString(s).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok && *out >= 0;
}

QColor toColor(const QString& s)
{
    const QColor c = QColor::fromString(s);
    return c.isValid() ? c : QColor();
}

// The options of a cell: whitespace-separated words, some with "=value".
bool applyCellOptions(const QString& options, TemplateCell& cell, QString* error)
{
    const QStringList words = options.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int horizontal = 0x0001;
    int vertical = 0x0080;
    for (const QString& word : words) {
        const int eq = word.indexOf(QLatin1Char('='));
        const QString key = (eq < 0 ? word : word.left(eq)).toLower();
        const QString value = eq < 0 ? QString() : word.mid(eq + 1);
        double number = 0;
        if (key == QLatin1String("ramka")) {
            if (value.isEmpty()) {
                cell.frame = FrameAll;
                continue;
            }
            cell.frame = FrameNone;
            for (QChar side : value.toUpper()) {
                if (side == QLatin1Char('L'))
                    cell.frame |= FrameLeft;
                else if (side == QLatin1Char('G'))
                    cell.frame |= FrameTop;
                else if (side == QLatin1Char('P'))
                    cell.frame |= FrameRight;
                else if (side == QLatin1Char('D'))
                    cell.frame |= FrameBottom;
                else {
                    *error = QStringLiteral("nieznana krawędź ramki \"%1\"").arg(side);
                    return false;
                }
            }
        } else if (key == QLatin1String("tlo") || key == QLatin1String("kolor")) {
            const QColor c = toColor(value);
            if (!c.isValid()) {
                *error = QStringLiteral("niepoprawny kolor \"%1\"").arg(value);
                return false;
            }
            (key == QLatin1String("tlo") ? cell.fill : cell.style.textColor) = c;
        } else if (key == QLatin1String("rozmiar") && toNumber(value, &number) && number > 0) {
            cell.style.fontSize = number;
        } else if (key == QLatin1String("linia") && toNumber(value, &number)) {
            cell.style.lineWidth = number;
        } else if (key == QLatin1String("czcionka") && !value.isEmpty()) {
            cell.style.fontFamily = QString(value).replace(QLatin1Char('_'), QLatin1Char(' '));
        } else if (key == QLatin1String("pogrubiona")) {
            cell.style.bold = true;
        } else if (key == QLatin1String("kursywa")) {
            cell.style.italic = true;
        } else if (key == QLatin1String("lewo")) {
            horizontal = 0x0001;
        } else if (key == QLatin1String("srodek")) {
            horizontal = 0x0004;
        } else if (key == QLatin1String("prawo")) {
            horizontal = 0x0002;
        } else if (key == QLatin1String("gora")) {
            vertical = 0x0020;
        } else if (key == QLatin1String("dol")) {
            vertical = 0x0040;
        } else if (key == QLatin1String("zawijaj")) {
            cell.style.wrap = true;
        } else if (key == QLatin1String("rozciagaj")) {
            cell.style.stretch = true;
            cell.style.wrap = true;
        } else {
            *error = QStringLiteral("nieznana opcja komórki \"%1\"").arg(word);
            return false;
        }
    }
    cell.style.align = horizontal | vertical;
    return true;
}

} // namespace

bool ReportTemplate::parse(const QString& text, QString* error)
{
    *this = ReportTemplate();
    CellStyle defaults;
    defaults.fontFamily = QStringLiteral("DejaVu Sans");
    QString reason;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int colon = line.indexOf(QLatin1Char(':'));
        const QString key = colon < 0 ? QString() : line.left(colon).trimmed().toLower();
        const QString rest = colon < 0 ? QString() : line.mid(colon + 1).trimmed();
        const QStringList words = rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (key == QLatin1String("raport")) {
            name = rest;
        } else if (key == QLatin1String("strona")) {
            if (words.size() != 2 || words[0].toUpper() != QLatin1String("A4") ||
                (words[1] != QLatin1String("pozioma") && words[1] != QLatin1String("pionowa")))
                reason = QStringLiteral("oczekiwano \"A4 pionowa\" albo \"A4 pozioma\"");
            else
                landscape = words[1] == QLatin1String("pozioma");
        } else if (key == QLatin1String("marginesy")) {
            double m[4];
            bool ok = words.size() == 4;
            for (int k = 0; ok && k < 4; ++k)
                ok = toNumber(words[k], &m[k]);
            if (!ok)
                reason = QStringLiteral("oczekiwano czterech marginesów w mm");
            else {
                marginLeft = m[0];
                marginTop = m[1];
                marginRight = m[2];
                marginBottom = m[3];
            }
        } else if (key == QLatin1String("czcionka")) {
            double size = 0;
            if (words.size() < 2 || !toNumber(words.last(), &size) || size <= 0)
                reason = QStringLiteral("oczekiwano nazwy czcionki i rozmiaru");
            else {
                defaults.fontFamily = QStringList(words.mid(0, words.size() - 1)).join(u' ');
                defaults.fontSize = size;
            }
        } else if (key == QLatin1String("pasmo")) {
            TemplateBand band;
            double height = 0;
            if (words.size() < 2 || !bandKinds().contains(words[0]) ||
                !toNumber(words[1], &height)) {
                reason = QStringLiteral("oczekiwano rodzaju pasma i jego wysokości");
            } else {
                band.kind = bandKinds().value(words[0]);
                band.height = height;
                for (const QString& w : words.mid(2)) {
                    if (w.startsWith(QLatin1String("zrodlo=")))
                        band.source = w.mid(7);
                    else if (w == QLatin1String("nowa_strona"))
                        band.newPage = true;
                    else if (w == QLatin1String("nie_dziel"))
                        band.keepTogether = true;
                    else
                        reason = QStringLiteral("nieznana opcja pasma \"%1\"").arg(w);
                }
                if (band.kind == BandKind::Data && band.source.isEmpty())
                    reason = QStringLiteral("pasmo danych bez źródła (zrodlo=...)");
                bands.push_back(band);
            }
        } else if (key == QLatin1String("komorka")) {
            const int bar1 = rest.indexOf(QLatin1Char('|'));
            const int bar2 = bar1 < 0 ? -1 : rest.indexOf(QLatin1Char('|'), bar1 + 1);
            TemplateCell cell;
            cell.style = defaults;
            const QStringList pos =
                rest.left(bar1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            double v[4];
            bool ok = bar2 > 0 && pos.size() == 4;
            for (int k = 0; ok && k < 4; ++k)
                ok = toNumber(pos[k], &v[k]);
            if (bands.empty())
                reason = QStringLiteral("komórka przed pierwszym pasmem");
            else if (!ok)
                reason = QStringLiteral("oczekiwano \"x y szer wys | opcje | tekst\"");
            else if (applyCellOptions(rest.mid(bar1 + 1, bar2 - bar1 - 1), cell, &reason)) {
                cell.rect = QRectF(v[0], v[1], v[2], v[3]);
                cell.text = rest.mid(bar2 + 1).trimmed().replace(QLatin1String("\\n"),
                                                                   QLatin1String("\n"));
                bands.back().cells.push_back(cell);
            }
        } else {
            reason = QStringLiteral("nieznany wiersz");
        }
        if (!reason.isEmpty()) {
            if (error)
                *error = QStringLiteral("wiersz %1: %2").arg(i + 1).arg(reason);
            return false;
        }
    }
    return true;
}

bool ReportTemplate::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Nie można otworzyć szablonu wydruku \"%1\": %2")
                         .arg(path, file.errorString());
        return false;
    }
    QString reason;
    if (!parse(QString::fromUtf8(file.readAll()), &reason)) {
        if (error)
            *error = QStringLiteral("Błąd w szablonie wydruku \"%1\", %2").arg(path, reason);
        return false;
    }
    return true;
}

} // namespace zf::report
