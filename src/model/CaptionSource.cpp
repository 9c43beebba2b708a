#include "model/CaptionSource.h"

#include <QString>

namespace model {

namespace {

// Separators left at either end once the weekday is taken out of a pattern.
QString TrimSeparators(QString pattern) {
    const auto isSeparator = [](QChar c) { return c == u' ' || c == u','; };
    while (!pattern.isEmpty() && isSeparator(pattern.front())) pattern.remove(0, 1);
    while (!pattern.isEmpty() && isSeparator(pattern.back())) pattern.chop(1);
    return pattern;
}

QString LongPattern(const QLocale& locale) {
    QString pattern = locale.dateFormat(QLocale::LongFormat);
    pattern.remove(QStringLiteral("dddd"));
    return TrimSeparators(pattern);
}

// The short date names the month in some locales (C's "d MMM yyyy"); a
// numeric caption is numeric everywhere, day first as most of the world writes it.
QString NumericPattern(const QLocale& locale) {
    QString pattern = locale.dateFormat(QLocale::ShortFormat);
    if (pattern.contains(QStringLiteral("MMM"))) return QStringLiteral("dd/MM/yyyy");
    // Two-digit years read badly under photos from several decades.
    if (!pattern.contains(QStringLiteral("yyyy")))
        pattern.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return pattern;
}

}  // namespace

std::string FormatCaptionDate(QDate date, uint8_t format, const QLocale& locale) {
    switch (static_cast<CaptionDate>(format)) {
        case CaptionDate::Numeric:
            return locale.toString(date, NumericPattern(locale)).toStdString();
        case CaptionDate::Month:
            // The month's own name, not the one a day's date declines.
            return (locale.standaloneMonthName(date.month()) + u' ' +
                    locale.toString(date, QStringLiteral("yyyy")))
                .toStdString();
        case CaptionDate::Iso:
            return date.toString(Qt::ISODate).toStdString();
        case CaptionDate::Long:
            break;
    }
    return locale.toString(date, LongPattern(locale)).toStdString();
}

}  // namespace model
