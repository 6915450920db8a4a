#pragma once

#include "controls.h"
#include "form.h"
#include "wording.h"

#include <QHash>
#include <QPointer>

class QAction;
class QMenuBar;

/**
 * The main window: a strip across the top of the screen with the menu of every topic, the two
 * language buttons and the calculator and note-taking buttons. Closing it ends the program.
 */
class Tfichaprincipal : public Form
{
    Q_OBJECT

public:
    Tfichaprincipal();

    void FormCreate() override;

    /** The menu item or submenu of that name (a submenu's own entry for a submenu). */
    QAction *menuItem(const QString &name) const { return m_items.value(name); }

    Panel *Panel1;
    QPushButton *cast;
    QPushButton *val;
    GlyphButton *BitBtn1;
    GlyphButton *BitBtn3;
    QMenuBar *MainMenu1;

    void castClick();
    void valClick();
    void Salir1Click();
    void Calculadora1Click();
    void BlocdeNotas1Click();
    void Temasdeayuda1Click();
    void About1Click();
    void Descripcindelaparato1Click();
    void ComposcClick();
    void ComportamientodelTRC1Click();
    void Realizacindelaprctica1Click();
    void Utilidadesdelosciloscopio1Click();
    void Cuestionario1Click();
    void Problemas2Click();
    void Problemas3Click();
    void Diagramadebloquesdelosciloscopio1Click();
    void DescripcindetalladadelTRC1Click();
    void Descripcindelaetapavertical1Click();
    void Descripcindelaetapahorizontal1Click();
    void Osciloscopiosdedoblecanal1Click();
    void DatostcnicosdelHM2031Click();
    void Osciloscopiovirtual1Click();

    /** Sets the main window's title and menu captions in Castilian. */
    void castellano();
    /** Sets the main window's title and menu captions in Valencian. */
    void valenciano();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenu();
    void relabel(Language language);

    QHash<QString, QAction *> m_items;
};

/** The main window. */
inline QPointer<Tfichaprincipal> fichaprincipal;
