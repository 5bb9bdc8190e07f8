#pragma once

#include <QDialog>

namespace app::ui {

// The About box.
class TfrmSobre : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSobre(QWidget* parent = nullptr);
};

} // namespace app::ui
