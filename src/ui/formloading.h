#pragma once
// "Please Wait...": shown while a start in the call monitor ("scan") waits
// for the monitor to open. No behaviour of its own.
#include <QWidget>

class FormLoading : public QWidget {
    Q_OBJECT
public:
    explicit FormLoading(QWidget* parent = nullptr);
};
