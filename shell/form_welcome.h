// FormWelcome: the first window, "DEK" and a picture; after 2000 ms it closes
// and hands over to the main window.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

namespace baldo7 {

class FormWelcome : public QWidget {
    Q_OBJECT
public:
    explicit FormWelcome(std::function<void()> loadMain, QWidget* parent = nullptr);

    QTimer Timer1;

private:
    void Timer1_Timer();
    std::function<void()> loadMain_;
};

}  // namespace baldo7
