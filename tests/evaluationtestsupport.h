#pragma once

// What the access gate's suite and the questionnaire's share: the answer key, the verdicts, and the
// student's ways of opening, turning and clicking.

#include "testsupport.h"
#include "tevaluacion.h"
#include "tfichaprincipal.h"
#include "tpw.h"
#include "windowtestsupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {

// The answer of each question, 1 to 10, as the questionnaire sets them.
inline const QStringList kAnswerKey = { "Image24", "Image4", "Image25", "Image10", "Image20", "Image9",
    "Image14", "Image26", "Image30", "Image12" };

inline const QString kRight = QStringLiteral("Respuesta Correcta");
inline const QString kWrong = QStringLiteral("Respuesta Inorrecta");

inline QRect spotRect(const EvaluationSpot &spot)
{
    return QRect(spot.rect.left, spot.rect.top, spot.rect.width, spot.rect.height);
}

/** The middle of the part of a hot-spot that no later hot-spot covers. */
inline QPoint uncoveredPoint(int index)
{
    const QRect own = spotRect(kEvaluationSpots[index]);
    QList<QPoint> free;
    for (int y = own.top(); y <= own.bottom(); ++y) {
        for (int x = own.left(); x <= own.right(); ++x) {
            bool covered = false;
            for (int j = index + 1; j < int(kEvaluationSpots.size()) && !covered; ++j)
                covered = spotRect(kEvaluationSpots[j]).contains(x, y);
            if (!covered)
                free << QPoint(x, y);
        }
    }
    return free.isEmpty() ? QPoint(-1, -1) : free.at(free.size() / 2);
}

inline int spotIndex(const QString &name)
{
    for (int i = 0; i < int(kEvaluationSpots.size()); ++i)
        if (name == QLatin1String(kEvaluationSpots[i].name))
            return i;
    return -1;
}

inline QWidget *clickSpot(Tevaluacion *form, const QString &name)
{
    return clickAt(form, uncoveredPoint(spotIndex(name)));
}

/** Picks a page by clicking its tab. */
inline void turnTo(Tevaluacion *form, int question)
{
    QTabBar *tabs = form->paginas->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(question - 1).center());
}

/** The student goes to the main window and comes back to this one. */
inline void comeBack(Form *form)
{
    fichaprincipal->showWindow();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(form, &activate);
}

/** The strip's text, or nothing when the strip is hidden. */
inline QString strip(Tevaluacion *form)
{
    return form->Panel1->isVisible() ? form->Panel1->text() : QString();
}

inline QString mark(Tevaluacion *form)
{
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    return strip(form);
}

/** A code pasted into the gate's box, as the student pastes it. */
inline void paste(Tpw *gate, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    gate->Password->setFocus();
    QTest::keyClick(gate->Password, Qt::Key_V, Qt::ControlModifier);
}

/** A suite that opens the gate from the main menu and the questionnaire through it. */
class EvaluationSuite : public WindowSuite
{
protected:
    Tpw *openGate(bool castilian)
    {
        setLanguage(castilian);
        menu("Cuestionario1");
        return pw;
    }

    Tevaluacion *openQuestionnaire(bool castilian)
    {
        Tpw *gate = openGate(castilian);
        QTest::keyClicks(gate->Password, QStringLiteral("50000000"));
        QTest::mouseClick(gate->OKBtn, Qt::LeftButton);
        return evaluacion;
    }
};

} // namespace
