#pragma once
// The application object: start-up of the runtime (the regional number settings) and the
// system's notice that those settings changed.

#include <QApplication>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);

protected:
    bool event(QEvent *Event) override;
};
