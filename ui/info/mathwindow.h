#pragma once

#include <QWidget>

namespace gyrena {

// The worked-example window `TheMath`.
class MathWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MathWindow(QWidget* parent = nullptr);
};

} // namespace gyrena
