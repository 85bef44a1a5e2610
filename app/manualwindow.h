#pragma once

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
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
    ~TfInstrukcja() override;

    // Loads the file; false (and the window stays empty) when it cannot be read.
    bool openManual(const QString& path);
    // Shows the chapter of this title (without its number, as in "Spis treści"); false, and
    // the page stays, when the manual has no such chapter.
    bool openChapter(const QString& title);
    // The contents, "1. Wprowadzenie" ..., each with the page of its chapter (0-based).
    QStringList contents() const;
    int chapterPage(const QString& title) const;
    QString path() const { return m_path; }
    int pageCount() const;
    int currentPage() const; // 0-based
    void goToPage(int page);
    qreal zoom() const;
    // Finds the next occurrence of the searched text after the last one found, from the page
    // shown onwards and round to the beginning; false when there is none.
    bool findNext();
    void print();

    // "Otwórz w innym programie".
    std::function<void(const QString& path)> openElsewhere;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Chapter
    {
        QString entry; // "10.1 Plany urlopowe"
        QString title; // "Plany urlopowe"
        int page = 0;
    };

    void zoomBy(qreal factor);
    void showPageNumber(int page);
    void readContents();

    QString m_path;
    QPdfDocument* m_document;
    QPdfView* m_view;
    QPdfSearchModel* m_search;
    // The page last asked for: a view not yet shown has no size to scroll to it.
    int m_wantedPage = 0;
    int m_foundPage = -1; // the last hit: its page and its place among the page's hits
    int m_foundIndex = -1;
    std::vector<Chapter> m_chapters;
    QListWidget* m_contents;
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

// F1 in every window of the program, modal ones included, which the main window's own key
// does not reach: tells `open` the window it was pressed in. Installed on the application.
class TManualKey : public QObject
{
public:
    explicit TManualKey(std::function<void(QWidget* window)> open, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(QWidget*)> m_open;
};

} // namespace zf
