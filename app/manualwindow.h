#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPdfDocument;
class QPdfSearchModel;
class QPdfView;
class QPushButton;
class QSpinBox;

namespace zf {

// The manual shown inside the program: a fresh desktop often has no PDF viewer, and the manual
// must still be readable. Pages, zoom, find and print; "Otwórz w innym programie" hands the file
// to the desktop for those who prefer their own viewer. Shown without blocking.
class TfInstrukcja : public QDialog
{
    Q_OBJECT

public:
    explicit TfInstrukcja(QWidget* parent = nullptr);

    // Loads the file; false (and the window stays empty) when it cannot be read.
    bool openManual(const QString& path);
    QString path() const { return m_path; }
    int pageCount() const;
    int currentPage() const; // 0-based
    void goToPage(int page);
    qreal zoom() const;
    // Finds the next occurrence of the searched text after the current one; false when none.
    bool findNext();
    void print();

    // "Otwórz w innym programie".
    std::function<void(const QString& path)> openElsewhere;

private:
    void zoomBy(qreal factor);
    void showPageNumber(int page);

    QString m_path;
    QPdfDocument* m_document;
    QPdfView* m_view;
    QPdfSearchModel* m_search;
    int m_found = -1;
    QSpinBox* m_page;
    QLabel* m_pageCount;
    QLineEdit* m_find;
    QPushButton* m_findNext;
    QPushButton* m_zoomIn;
    QPushButton* m_zoomOut;
    QPushButton* m_fitWidth;
    QPushButton* m_print;
    QPushButton* m_elsewhere;
    QPushButton* m_close;
};

} // namespace zf
