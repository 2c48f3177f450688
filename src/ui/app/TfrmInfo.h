#pragma once

#include "toolkit/ThemedDialog.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: product, version, web site and the legal notice.
class TfrmInfo : public ThemedDialog
{
    Q_OBJECT

public:
    static constexpr const char* webAddress = "https://www.brontel.cz/rydex";

    explicit TfrmInfo(QWidget* parent = nullptr);

    QLabel* lblProduct = nullptr;
    QLabel* lblWeb = nullptr;
    QLabel* lblVersionCaption = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblNoticeCaption = nullptr;
    QLabel* lblNotice = nullptr;
    QPushButton* btnOk = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setLinkColour(const QColor& colour);
};
