#pragma once

#include "reports/reportengine.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace zf {

class Dialogs;
class TDMRaporty;

// The preview of a finished report: zoom, pages, find, print, save as PDF and close.
class TfWydruk : public QDialog
{
    Q_OBJECT
public:
    TfWydruk(Dialogs& dialogs, QWidget* parent = nullptr);

    // Takes the report and shows its first page; the caller opens the window.
    void setDocument(const report::ReportDocument& doc);
    const report::ReportDocument& document() const { return m_doc; }

    int currentPage() const { return m_page; }
    void showPage(int index);
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    // Looks for the text from the cell after the last one found; false when there is none.
    bool findNext(const QString& text);
    // Saves the report as PDF after asking for the file name, proposed as the report's name in
    // the folder last saved into, or else in the Documents folder (lastSaveFolder()).
    void saveAsPdf();
    QString proposedPdfPath() const;
    void print();

    QComboBox* cbSkala;
    QPushButton* SBPowieksz;
    QPushButton* SBPomniejsz;
    QPushButton* SBPierwsza;
    QPushButton* SBPoprzednia;
    QSpinBox* fStrona;
    QLabel* lbStron;
    QPushButton* SBNastepna;
    QPushButton* SBOstatnia;
    QLineEdit* fSzukaj;
    QPushButton* SBSzukaj;
    QPushButton* SBDrukuj;
    QPushButton* SBZapiszPDF;
    QPushButton* SBZamknij;
    QLabel* pageView;

private:
    void render();

    Dialogs& m_dialogs;
    QScrollArea* m_scroll;
    report::ReportDocument m_doc;
    int m_page = 0;
    double m_zoom = 1.0;
    int m_foundPage = -1;
    int m_foundCell = -1;
};

// Hands the report data its preview and a progress window that can cancel a long run.
class TReportPreview
{
public:
    TReportPreview(TDMRaporty& dm, Dialogs& dialogs, QWidget* parent);
    ~TReportPreview();
    TfWydruk& window() { return *m_window; }

private:
    std::unique_ptr<TfWydruk> m_window;
    std::unique_ptr<QProgressDialog> m_progress;
};

} // namespace zf
