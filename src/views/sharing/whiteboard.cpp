#include "whiteboard.h"

#include <QVBoxLayout>

#include "helpers/clogformat.h"

namespace kd_app {
namespace views {

WhiteBoard::WhiteBoard(QWidget *parent) : QWidget(parent)
{
    setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
    setAttribute(Qt::WA_TranslucentBackground);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pBg = new QWidget(this);
    m_pBg->setObjectName("bg");
    layout->addWidget(m_pBg);
    clearBackground();
}

WhiteBoard::~WhiteBoard()
{
    KD_LOG << "done";
}

void WhiteBoard::setBackgroundColor(const QString &colour)
{
    KD_LOG << "colour:" << colour;
    m_qstrBackgroundColor = colour;
    m_pBg->setStyleSheet(QStringLiteral("#bg{background-color: %1;}").arg(colour));
}

void WhiteBoard::clearBackground()
{
    m_qstrBackgroundColor.clear();
    m_pBg->setStyleSheet(QStringLiteral("#bg{background-color: transparent;}"));
}

} // namespace views
} // namespace kd_app
