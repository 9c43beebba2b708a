#include "app/OwnSettingColumn.h"

#include <QTableWidgetItem>

namespace app {

QTableWidgetItem* OwnSettingCell(const QString& stored, const QString& shown, const QString& tip) {
    auto* item = new QTableWidgetItem(shown);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    item->setData(kOwnSettingRole, stored);
    item->setToolTip(tip);
    return item;
}

QString OwnSettingText(const QTableWidgetItem& cell) {
    return cell.data(kOwnSettingRole).toString();
}

}  // namespace app
