#include "lab.h"

#include "labfile.h"

#include <QFile>
#include <QHash>

#include <array>

namespace {

/** One task of the course: the shipped lab it is in and its id there. */
struct CourseTask
{
    const char *file;
    const char *id;
};

// Time base and sensitivity first, then the trigger's level and the coupling, measurements, both channels
// together, Lissajous figures of two frequencies, the probe and the amplifier, and the trigger with awkward
// signals; each question on what a change will show right after the task that practises the control it is
// about; then the bench's circuits and the component tester.
constexpr std::array kTeachingOrder {
    CourseTask { "ajustes.toml", "base_de_tiempos" },
    CourseTask { "predicciones.toml", "prediccion_barrido" },
    CourseTask { "ajustes.toml", "dos_periodos" },
    CourseTask { "predicciones.toml", "prediccion_sensibilidad" },
    CourseTask { "ajustes.toml", "linea_inferior" },
    CourseTask { "ajustes.toml", "flanco_de_bajada" },
    CourseTask { "ajustes.toml", "acoplamiento_ac" },
    CourseTask { "predicciones.toml", "prediccion_ac" },
    CourseTask { "medidas.toml", "pico_a_pico" },
    CourseTask { "medidas.toml", "tension_continua" },
    CourseTask { "ajustes.toml", "calibrador" },
    CourseTask { "medidas.toml", "periodo" },
    CourseTask { "medidas.toml", "frecuencia" },
    CourseTask { "ajustes.toml", "dos_canales" },
    CourseTask { "ajustes.toml", "diferencia" },
    CourseTask { "medidas.toml", "desfase_xy" },
    CourseTask { "predicciones.toml", "prediccion_xy" },
    CourseTask { "medidas.toml", "desfase_rc" },
    CourseTask { "lissajous.toml", "figura_1_2" },
    CourseTask { "lissajous.toml", "frecuencia_xy" },
    CourseTask { "sonda_y_amplificador.toml", "compensacion" },
    CourseTask { "predicciones.toml", "prediccion_sonda" },
    CourseTask { "sonda_y_amplificador.toml", "tension_con_sonda" },
    CourseTask { "sonda_y_amplificador.toml", "tiempo_de_subida" },
    CourseTask { "sonda_y_amplificador.toml", "ancho_de_banda" },
    CourseTask { "disparo.toml", "zumbido" },
    CourseTask { "disparo.toml", "ruido" },
    CourseTask { "disparo.toml", "rafagas" },
    CourseTask { "disparo.toml", "senal_pequena" },
    // The bench's circuits, rectifiers first, then the filters and the resonance; the tester's parts last.
    CourseTask { "circuitos.toml", "media_onda_pico" },
    CourseTask { "circuitos.toml", "prediccion_condensador" },
    CourseTask { "circuitos.toml", "media_onda_filtro_pico" },
    CourseTask { "circuitos.toml", "media_onda_rizado" },
    CourseTask { "circuitos.toml", "puente_pico" },
    CourseTask { "circuitos.toml", "puente_rizado" },
    CourseTask { "circuitos.toml", "paso_bajo_dual" },
    CourseTask { "circuitos.toml", "paso_bajo_xy" },
    CourseTask { "circuitos.toml", "prediccion_paso_bajo_xy" },
    CourseTask { "circuitos.toml", "rlc_resonancia" },
    CourseTask { "comprobador.toml", "figura_resistencia" },
    CourseTask { "comprobador.toml", "figura_condensador" },
    CourseTask { "comprobador.toml", "figura_diodo" },
    CourseTask { "comprobador.toml", "codo_diodo" },
    CourseTask { "comprobador.toml", "zener_directa" },
    CourseTask { "comprobador.toml", "codo_zener" },
    CourseTask { "comprobador.toml", "patilla_led" },
};

} // namespace

QString shippedLabPath(const QString &file)
{
    return QStringLiteral(":/labs/") + file;
}

const Lab &courseLab()
{
    static const Lab lab = [] {
        QHash<QString, QList<Hm203Task>> shipped;
        for (const CourseTask &entry : kTeachingOrder) {
            const QString file = QString::fromUtf8(entry.file);
            if (shipped.contains(file))
                continue;
            QFile resource(shippedLabPath(file));
            if (!resource.open(QIODevice::ReadOnly)) {
                shipped.insert(file, {});
                continue;
            }
            LabReading reading = readLab(resource.readAll(), file);
            for (const LabError &error : std::as_const(reading.errors))
                qWarning("%s", qPrintable(describeLabError(error, file, Language::Castilian)));
            shipped.insert(file, reading.lab ? reading.lab->tasks : QList<Hm203Task> {});
        }
        Lab course;
        for (const CourseTask &entry : kTeachingOrder) {
            const QList<Hm203Task> &tasks = shipped.value(QString::fromUtf8(entry.file));
            const auto found = std::find_if(tasks.begin(), tasks.end(),
                [&](const Hm203Task &task) { return task.id == QLatin1String(entry.id); });
            // The shipped labs are tested to hold every task; a build that lost one runs without it.
            if (found != tasks.end())
                course.tasks << *found;
            else
                qWarning("The course lab %s has no task %s", entry.file, entry.id);
        }
        course.title = Wording::of(u"Tareas", u"Tasques");
        course.introduction = Wording {
            QString::fromUtf16(u"%1 tareas cortas para practicar con el osciloscopio. Pulsa «Siguiente» para "
                               u"empezar: cada tarea prepara el generador y se comprueba mientras trabajas.")
                .arg(course.tasks.size()),
            QString::fromUtf16(
                u"%1 tasques curtes per a practicar amb l'oscil·loscopi. Polsa «Següent» per a "
                u"començar: cada tasca prepara el generador i es comprova mentre treballes.")
                .arg(course.tasks.size())
        };
        return course;
    }();
    return lab;
}

const QList<Hm203Task> &hm203Tasks()
{
    return courseLab().tasks;
}
