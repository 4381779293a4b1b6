#pragma once

#include <string>

#include <QObject>

#include "engine/kdtypes.h"

class QLabel;
class QTableWidget;
class QTableWidgetItem;

// Builds the network-report tables from the engine's diagnosis: the summary
// of the settings window's report page and the details window's rows, with
// one family of status cells (a translated word, green for a usable state and
// red otherwise, and 1 or 0 under Qt::UserRole).
class CWebreportDataTableWidget : public QObject
{
    Q_OBJECT

public:
    static CWebreportDataTableWidget *instance();

    // Summary: two columns, service or medium and its state.
    void initSummaryTable(QTableWidget *table);
    // page: 0 nothing to report (not signed in to a server), 1 the report;
    // noCall: no call is running; allNormal: every row shown is usable.
    void fillSummaryTable(QTableWidget *table, kd::engine::KDDiag diag, int *page, bool *noCall, bool *allNormal);
    void updateSummaryTableDpi(QTableWidget *table, double scale);

    // Details: three columns, what, the measured values, and the state.
    void initDetailsTable(QTableWidget *table);
    void fillDetailsTable(QTableWidget *table, kd::engine::KDDiag diag);
    void updateDetailsTableDpi(QTableWidget *table, double scale);

    QLabel *makeColumnLabel(const QString &text, bool isHead);
    QTableWidgetItem *makePairTextItem(int hasFirst, int hasSecond, const std::string &first,
                                       const std::string &second);
    QTableWidgetItem *makeJoinedTextItem(const std::string &first, const std::string &second);
    QTableWidgetItem *makeDurationItem(const std::string &callText, const std::string &duration);
    QTableWidgetItem *makeDelayItem(const std::string &value);
    QTableWidgetItem *makeDownloadJitterItem(const std::string &value);
    QTableWidgetItem *makeUploadJitterItem(const std::string &value);
    QTableWidgetItem *makeDownloadLossItem(const std::string &value);
    QTableWidgetItem *makeUploadLossItem(const std::string &value);

    QTableWidgetItem *makeSingleStatusItem(int status);
    QTableWidgetItem *makeLoginStatusItem(int status);
    QTableWidgetItem *makeRegisterStatusItem(int status);
    QTableWidgetItem *makeCallStatusItem(int status);
    QTableWidgetItem *makeMaxStatusItem(int first, int second);
    QTableWidgetItem *makeStatusItem(int first, int second);

private:
    enum class Row { Generic, Login, Registration, Call };

    CWebreportDataTableWidget() = default;

    QTableWidgetItem *statusItem(int status, Row row);
    QTableWidgetItem *labelledItem(const QString &label, const std::string &value);
    void addSummaryRow(QTableWidget *table, const QString &label, QTableWidgetItem *status, bool *allNormal);
    void addDetailsRow(QTableWidget *table, const QString &label, QTableWidgetItem *details, QTableWidgetItem *status);
};
