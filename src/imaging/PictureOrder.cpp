#include "imaging/PictureOrder.h"

#include <QString>

#include <algorithm>
#include <optional>
#include <utility>

namespace imaging {

namespace {

QString FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return QString::fromStdString(slash == std::string::npos ? path : path.substr(slash + 1));
}

void SortByTaken(std::vector<std::string>& paths, const FactsFunction& facts) {
    std::vector<std::pair<std::optional<QDateTime>, std::string>> keyed;
    keyed.reserve(paths.size());
    for (std::string& path : paths) keyed.emplace_back(facts(path).taken, std::move(path));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        if (!a.first || !b.first) return a.first.has_value() && !b.first.has_value();
        return *a.first < *b.first;
    });
    for (size_t i = 0; i < paths.size(); ++i) paths[i] = std::move(keyed[i].second);
}

// Runs of digits compare as numbers, the rest letter by letter ignoring
// case. Qt's collator does numbers only where the system has a collation
// library, and never in the C locale a headless build may run in.
int CompareNames(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype endA = i, endB = j;
            while (endA < a.size() && a[endA].isDigit()) ++endA;
            while (endB < b.size() && b[endB].isDigit()) ++endB;
            // Without leading zeros the longer run is the larger number.
            const QStringView runA = QStringView(a).sliced(i, endA - i);
            const QStringView runB = QStringView(b).sliced(j, endB - j);
            const auto trim = [](QStringView run) {
                while (run.size() > 1 && run.front() == u'0') run = run.sliced(1);
                return run;
            };
            const QStringView numA = trim(runA), numB = trim(runB);
            if (numA.size() != numB.size()) return numA.size() < numB.size() ? -1 : 1;
            if (const int order = numA.compare(numB); order != 0) return order;
            i = endA;
            j = endB;
            continue;
        }
        const int order =
            QStringView(a).sliced(i, 1).compare(QStringView(b).sliced(j, 1), Qt::CaseInsensitive);
        if (order != 0) return order;
        ++i;
        ++j;
    }
    return (a.size() - i > 0) - (b.size() - j > 0);
}

void SortByName(std::vector<std::string>& paths) {
    std::vector<std::pair<QString, std::string>> keyed;
    keyed.reserve(paths.size());
    for (std::string& path : paths) keyed.emplace_back(FileNameOf(path), std::move(path));
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        return CompareNames(a.first, b.first) < 0;
    });
    for (size_t i = 0; i < paths.size(); ++i) paths[i] = std::move(keyed[i].second);
}

}  // namespace

void SortPictures(std::vector<std::string>& paths, PictureOrder order, const FactsFunction& facts) {
    switch (order) {
        case PictureOrder::Taken:
            SortByTaken(paths, facts);
            break;
        case PictureOrder::Name:
            SortByName(paths);
            break;
        case PictureOrder::None:
            break;
    }
}

}  // namespace imaging
