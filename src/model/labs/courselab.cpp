#include "lab.h"

const Lab &courseLab()
{
    static const Lab lab = [] {
        Lab course;
        course.tasks = hm203Tasks();
        course.title = Wording::of(u"Tareas", u"Tasques");
        course.introduction
            = Wording { QString::fromUtf16(u"%1 tareas cortas para practicar con el osciloscopio. Pulsa «Siguiente» "
                                           u"para empezar: cada tarea prepara el generador y se comprueba mientras "
                                           u"trabajas.")
                            .arg(course.tasks.size()),
                  QString::fromUtf16(u"%1 tasques curtes per a practicar amb l'oscil·loscopi. Polsa «Següent» per a "
                                     u"començar: cada tasca prepara el generador i es comprova mentre treballes.")
                      .arg(course.tasks.size()) };
        return course;
    }();
    return lab;
}
