#pragma once
#include <QDialog>
#include <QMap>

class QPushButton;

namespace qv::core {
struct AppContext;
}
namespace qv::app {

// "Понравилась программа - Поддержите проект!": ways to support the program,
// each button opening a page of the maker's site.
class TfrmHelp : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHelp(core::AppContext &ctx, QWidget *parent = nullptr);
    // The buttons by control name (Button1 closes, Button2..Button8 open pages).
    QMap<QString, QPushButton *> buttons;
};

// "Перед выходом из программы...": shown once when the main window closes.
class TfrmGoAd : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGoAd(core::AppContext &ctx, QWidget *parent = nullptr);
    QMap<QString, QPushButton *> buttons;
};

} // namespace qv::app
