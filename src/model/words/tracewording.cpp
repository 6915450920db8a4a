#include "tracewording.h"

#include "decimalformat.h"
#include "wordparts.h"

#include <cmath>
#include <optional>

namespace TraceWording {

namespace {

using C = Hm203Control;
using namespace Parts;

/** How many causes are put into words; the rest wait until these are mended. */
constexpr int kWordedCauses = 2;

/** What a trace of a kind is called, in the middle of a sentence. */
Wording called(TraceKind kind)
{
    switch (kind) {
    case TraceKind::ChannelI:
        return words(u"la traza de CH I", u"la traça de CH I");
    case TraceKind::ChannelII:
        return words(u"la traza de CH II", u"la traça de CH II");
    case TraceKind::Sum:
        return words(u"la traza de la suma (ADD)", u"la traça de la suma (ADD)");
    case TraceKind::XY:
        break;
    }
    return words(u"la figura X-Y", u"la figura X-Y");
}

/** The same, opening a sentence. */
Wording subject(TraceKind kind)
{
    Wording w = called(kind);
    w.castilian[0] = w.castilian.at(0).toUpper();
    w.valencian[0] = w.valencian.at(0).toUpper();
    return w;
}

Wording side(bool above)
{
    return above ? words(u"por encima", u"per damunt") : words(u"por debajo", u"per davall");
}

} // namespace

QString sentence(const QString &said)
{
    return said.endsWith(u'.') ? said : said + u'.';
}

QString listed(const QStringList &names, Language language)
{
    if (names.size() < 2)
        return names.value(0);
    const QString last = names.last();
    const bool iSound = last.startsWith(u'I') || last.startsWith(u'Y');
    const QString conjunction = textIn(language, iSound ? u" e " : u" y ", u" i ");
    return names.first(names.size() - 1).join(QStringLiteral(", ")) + conjunction + last;
}

Wording powerOff()
{
    const QString power = label(C::Power);
    return { text(u"El osciloscopio está apagado: pulsa %1.").arg(power),
        text(u"L'oscil·loscopi està apagat: polsa %1.").arg(power) };
}

Wording warmingUp(double secondsLeft)
{
    const QString power = label(C::Power);
    const QString left = fixedDecimal(secondsLeft, 1);
    const QString real = formatDecimal(WarmUp::realTubeSeconds);
    return { text(u"Acabas de pulsar %1 y el tubo aún se calienta: la traza tarda unos %2 s en verse del "
                  u"todo; espera. Un tubo real tarda unos %3 s en calentarse; aquí se abrevia.")
                 .arg(power, left, real),
        text(u"Acabes de polsar %1 i el tub encara s'escalfa: la traça tarda uns %2 s a veure's del tot; "
             u"espera. Un tub real tarda uns %3 s a escalfar-se; ací s'abrevia.")
            .arg(power, left, real) };
}

Wording intensityLow()
{
    const QString intens = label(C::Intensity);
    return { text(u"La traza apenas se ve porque el haz es muy débil: sube %1 hasta verla bien.").arg(intens),
        text(u"La traça amb prou feines es veu perquè el feix és molt feble: puja %1 fins a veure-la bé.")
            .arg(intens) };
}

Wording fastSweepDim(double dutyCycle, bool magnified)
{
    const QString intens = label(C::Intensity);
    const QString time = label(C::TimeDiv);
    const QString share = formatDecimal(100.0 * dutyCycle, { .significantDigits = 2 });
    // X-MAG spreads what the beam writes over ten times the length: released, the line is ten times
    // brighter.
    const QString mag = label(C::XMagnifier);
    const Wording release = magnified
        ? Wording { text(u"suelta %1, ").arg(mag), text(u"deixa anar %1, ").arg(mag) }
        : Wording {};
    return { text(u"La traza es tenue porque el barrido, mucho más corto que el periodo de la señal, espera "
                  u"a cada disparo y el haz solo escribe el %1 % del tiempo: %4sube %2 o elige con %3 un "
                  u"barrido más lento.")
                 .arg(share, intens, time, release.castilian),
        text(u"La traça és tènue perquè l'escombratge, molt més curt que el període del senyal, espera "
             u"cada disparament i el feix només escriu el %1 % del temps: %4puja %2 o tria amb %3 un "
             u"escombratge més lent.")
            .arg(share, intens, time, release.valencian) };
}

Wording tester(const Wording &figure)
{
    const QString button = label(C::Tester);
    const Wording pressed {
        text(u"El %1 está pulsado y la pantalla muestra su figura, no las señales: suéltalo.").arg(button),
        text(u"El %1 està polsat i la pantalla mostra la seua figura, no els senyals: deixa'l anar.")
            .arg(button)
    };
    return pressed.then(figure);
}

Wording sideways(TraceKind kind, bool left, bool magnified)
{
    const QString xpos = label(C::XPosition);
    const Wording where
        = left ? words(u"a la izquierda", u"a l'esquerra") : words(u"a la derecha", u"a la dreta");
    const Wording turn
        = left ? words(u"a la derecha", u"cap a la dreta") : words(u"a la izquierda", u"cap a l'esquerra");
    if (magnified)
        return { text(u"Con %1 la parte ampliada del barrido queda %2 de la pantalla: gira %3 %4 hasta que "
                      u"vuelva la traza.")
                     .arg(label(C::XMagnifier), where.castilian, xpos, turn.castilian),
            text(u"Amb %1 la part ampliada de l'escombratge queda %2 de la pantalla: gira %3 %4 fins que "
                 u"torne la traça.")
                .arg(label(C::XMagnifier), where.valencian, xpos, turn.valencian) };
    const Wording who = subject(kind);
    return { text(u"%1 queda %2 de la pantalla: gira %3 %4 hasta que vuelva.")
                 .arg(who.castilian, where.castilian, xpos, turn.castilian),
        text(u"%1 queda %2 de la pantalla: gira %3 %4 fins que torne.")
            .arg(who.valencian, where.valencian, xpos, turn.valencian) };
}

Wording offVertically(TraceKind kind, bool above)
{
    const Wording who = subject(kind);
    const Wording where = side(above);
    const QString ypos = label(channelControls(kind == TraceKind::ChannelII).position);
    const Wording move = above ? words(u"bájala", u"baixa-la") : words(u"súbela", u"puja-la");
    return { text(u"%1 queda %2 de la pantalla: %3 con %4.")
                 .arg(who.castilian, where.castilian, move.castilian, ypos),
        text(u"%1 queda %2 de la pantalla: %3 amb %4.")
            .arg(who.valencian, where.valencian, move.valencian, ypos) };
}

Wording offsetOffFace(TraceKind kind, bool second, std::optional<double> volts, bool above)
{
    const Wording who = called(kind);
    const Wording where = side(above);
    // Without its volts when the student is asked to measure them.
    const QString offset = volts
        ? QStringLiteral(" de ") + formatDecimal(*volts, { .significantDigits = 3 }) + QStringLiteral(" V")
        : QString();
    const QString dc = label(channelControls(second).dc);
    // A sum's trace says whose mean it is; a channel's own trace already does.
    const QString whose = kind == TraceKind::Sum ? QStringLiteral(" de ") + channelName(second) : QString();
    return { text(
                 u"Con DC, la componente continua%1%2 lleva %3 %4 de la pantalla: suelta %5 para pasar a AC.")
                 .arg(offset, whose, who.castilian, where.castilian, dc),
        text(
            u"Amb DC, la component contínua%1%2 porta %3 %4 de la pantalla: deixa anar %5 per a passar a AC.")
            .arg(offset, whose, who.valencian, where.valencian, dc) };
}

Wording tooSensitive(TraceKind kind, bool second, double voltsPerDiv)
{
    const Wording who = called(kind);
    const QString scale = formatVoltsPerDiv(voltsPerDiv);
    const QString volts = label(channelControls(second).volts);
    return { text(u"A %1, %2 es tan alta que queda fuera de la pantalla, más allá de donde llega el "
                  u"amplificador: gira %3 hacia menos sensibilidad.")
                 .arg(scale, who.castilian, volts),
        text(u"A %1, %2 és tan alta que queda fora de la pantalla, més enllà d'on arriba l'amplificador: "
             u"gira %3 cap a menys sensibilitat.")
            .arg(scale, who.valencian, volts) };
}

Wording offFace(const ScreenReading &reading, ScreenReadings readings, TraceKind kind, const OffFace &off)
{
    const ScopeSettings &s = reading.settings();
    switch (off.cause) {
    case TraceCause::BeamLeft:
    case TraceCause::BeamRight:
        return sideways(kind, off.cause == TraceCause::BeamLeft, s.xMagnified);
    case TraceCause::OffsetOffFace:
        return offsetOffFace(kind, off.second,
            readings == ScreenReadings::Worked
                ? std::optional<double>(channelSettings(s, off.second).signal.meanVolts())
                : std::nullopt,
            off.above);
    case TraceCause::TooSensitive:
        return tooSensitive(kind, off.second, channelSettings(s, off.second).voltsPerDiv);
    default:
        break;
    }
    return offVertically(kind, off.above);
}

Wording clipped(const Clipping &c)
{
    const Wording who = subject(c.kind);
    const Wording where = c.above && c.below ? words(u"por arriba y por abajo", u"per dalt i per baix")
        : c.above                            ? words(u"por arriba", u"per dalt")
                                             : words(u"por abajo", u"per baix");
    const QString ypos = label(channelControls(c.second).position);
    const Wording move = c.above
        ? Wording { text(u"bájala con %1").arg(ypos), text(u"baixa-la amb %1").arg(ypos) }
        : Wording { text(u"súbela con %1").arg(ypos), text(u"puja-la amb %1").arg(ypos) };
    Wording why;
    Wording mend = move;
    if (c.mend == ClipMend::Offset) {
        const QString dc = label(channelControls(c.second).dc);
        const Wording lifts = c.above ? words(u"la sube", u"la puja") : words(u"la baja", u"la baixa");
        // No volts: where the level is what a task asks, the words must not give it.
        why = { text(u", porque su componente continua, que DC deja pasar, %1").arg(lifts.castilian),
            text(u", perquè la seua component contínua, que DC deixa passar, %1").arg(lifts.valencian) };
        mend = { text(u"suelta %1 para pasar a AC").arg(dc),
            text(u"deixa anar %1 per a passar a AC").arg(dc) };
        if (c.positionToo)
            mend = { mend.castilian + QStringLiteral(", o ") + move.castilian,
                mend.valencian + QStringLiteral(", o ") + move.valencian };
    } else if (c.mend == ClipMend::Sensitivity) {
        const QString scale = formatVoltsPerDiv(c.voltsPerDiv);
        const QString volts = label(channelControls(c.second).volts);
        why = { text(u", porque a %1 es más alta que la pantalla").arg(scale),
            text(u", perquè a %1 és més alta que la pantalla").arg(scale) };
        mend = { text(u"gira %1 hacia menos sensibilidad").arg(volts),
            text(u"gira %1 cap a menys sensibilitat").arg(volts) };
        if (c.positionToo)
            mend = { mend.castilian + text(u" y céntrala con %1").arg(ypos),
                mend.valencian + text(u" i centra-la amb %1").arg(ypos) };
    }
    return { text(u"%1 se sale de la pantalla %2 y parte de ella no se ve%3: %4.")
                 .arg(who.castilian, where.castilian, why.castilian, mend.castilian),
        text(u"%1 ix de la pantalla %2 i part d'ella no es veu%3: %4.")
            .arg(who.valencian, where.valencian, why.valencian, mend.valencian) };
}

Wording grounded(bool second)
{
    const QString name = channelName(second);
    const QString ground = label(channelControls(second).ground);
    return { text(u"%1 está en GD: su entrada va a masa y la línea plana que ves es la línea de cero, no la "
                  u"señal; suelta %2.")
                 .arg(name, ground),
        text(
            u"%1 està en GD: la seua entrada va a massa i la línia plana que veus és la línia de zero, no el "
            u"senyal; deixa anar %2.")
            .arg(name, ground) };
}

Wording noSignal(bool second, bool otherShows)
{
    const QString name = channelName(second);
    const Wording mend = otherShows
        ? Wording { text(u"suelta %1 para ver %2").arg(label(C::ChannelII), channelName(!second)),
              text(u"deixa anar %1 per a veure %2").arg(label(C::ChannelII), channelName(!second)) }
        : words(u"sube la amplitud de su salida en el generador",
            u"puja l'amplitud de la seua eixida en el generador");
    return {
        text(u"%1 no recibe ninguna señal que cambie y la traza es una línea plana: %2.")
            .arg(name, mend.castilian),
        text(u"%1 no rep cap senyal que canvie i la traça és una línia plana: %2.").arg(name, mend.valencian)
    };
}

Wording xyAxisEmpty(bool vertical)
{
    const QString xy = label(C::XY);
    if (!vertical)
        return {
            text(u"En X-Y, CH II mueve el haz en horizontal y no recibe señal, así que la figura se queda en "
                 u"una línea vertical: sube la amplitud de su salida en el generador o suelta %1.")
                .arg(xy),
            text(u"En X-Y, CH II mou el feix en horitzontal i no rep senyal, així que la figura es queda en "
                 u"una línia vertical: puja l'amplitud de la seua eixida en el generador o deixa anar %1.")
                .arg(xy)
        };
    return {
        text(u"En X-Y, CH I mueve el haz en vertical y no recibe señal, así que la figura se queda en una "
             u"línea horizontal: sube la amplitud de su salida en el generador o suelta %1.")
            .arg(xy),
        text(
            u"En X-Y, CH I mou el feix en vertical i no rep senyal, així que la figura es queda en una línia "
            u"horitzontal: puja l'amplitud de la seua eixida en el generador o deixa anar %1.")
            .arg(xy)
    };
}

Wording stillSpot(bool groundedI, bool groundedII, bool faint)
{
    // What holds each axis still, and what sets it moving again: GD released, or a signal given.
    QStringList onGround;
    QStringList buttons;
    QStringList empty;
    for (bool second : { false, true }) {
        if (second ? groundedII : groundedI) {
            onGround << channelName(second);
            buttons << label(channelControls(second).ground);
        } else {
            empty << channelName(second);
        }
    }
    Wording why;
    Wording mend;
    if (!onGround.isEmpty()) {
        why = { listed(onGround, Language::Castilian) + QStringLiteral(" en GD"),
            listed(onGround, Language::Valencian) + QStringLiteral(" en GD") };
        mend = { text(u"suelta %1").arg(listed(buttons, Language::Castilian)),
            text(u"deixa anar %1").arg(listed(buttons, Language::Valencian)) };
    }
    if (!empty.isEmpty()) {
        const bool after = !why.castilian.isEmpty();
        why = { why.castilian + (after ? QStringLiteral(" y ") : QString())
                + listed(empty, Language::Castilian) + text(u" sin señal"),
            why.valencian + (after ? QStringLiteral(" i ") : QString()) + listed(empty, Language::Valencian)
                + text(u" sense senyal") };
        mend = { mend.castilian + (after ? QStringLiteral(" y ") : QString())
                + text(u"da señal a %1 en el generador").arg(listed(empty, Language::Castilian)),
            mend.valencian + (after ? QStringLiteral(" i ") : QString())
                + text(u"dona senyal a %1 en el generador").arg(listed(empty, Language::Valencian)) };
    }
    const QString intens = label(C::Intensity);
    const QString xy = label(C::XY);
    if (faint)
        return { text(u"En X-Y ningún canal mueve el haz (%1) y queda un punto quieto: no subas %2, que un "
                      u"punto quieto y brillante puede quemar el fósforo; %3, o suelta %4.")
                     .arg(why.castilian, intens, mend.castilian, xy),
            text(u"En X-Y cap canal mou el feix (%1) i queda un punt quiet: no puges %2, que un punt quiet i "
                 u"brillant pot cremar el fòsfor; %3, o deixa anar %4.")
                .arg(why.valencian, intens, mend.valencian, xy) };
    return { text(u"En X-Y ningún canal mueve el haz (%1) y queda un punto quieto y brillante, que puede "
                  u"quemar el fósforo: baja %2 enseguida; después %3, o suelta %4.")
                 .arg(why.castilian, intens, mend.castilian, xy),
        text(u"En X-Y cap canal mou el feix (%1) i queda un punt quiet i brillant, que pot cremar el fòsfor: "
             u"baixa %2 de seguida; després %3, o deixa anar %4.")
            .arg(why.valencian, intens, mend.valencian, xy) };
}

Wording crawlingSpot(bool spot, bool byTurns, const SweepAdvice &advice)
{
    const QString time = label(C::TimeDiv);
    if (byTurns && !spot) {
        const Wording faster = advice.faster
            ? Wording { text(u", o gira %1 hacia barridos más rápidos").arg(time),
                  text(u", o gira %1 cap a escombratges més ràpids").arg(time) }
            : Wording {};
        return {
            text(u"Con %1 los canales se dibujan por turnos, un barrido cada uno, y con este ajuste de %2 "
                 u"parpadean: pulsa también %3 para que %1 los trocee%4.")
                .arg(label(C::Dual), time, label(C::Add), faster.castilian),
            text(u"Amb %1 els canals es dibuixen per torns, un escombratge cadascun, i amb este ajust de %2 "
                 u"parpellegen: polsa també %3 perquè %1 els trossege%4.")
                .arg(label(C::Dual), time, label(C::Add), faster.valencian)
        };
    }
    if (advice.faster) {
        if (spot)
            return { text(
                         u"El barrido es tan lento que solo ves un punto que avanza por la pantalla: gira %1 "
                         u"hacia barridos más rápidos.")
                         .arg(time),
                text(u"L'escombratge és tan lent que només veus un punt que avança per la pantalla: gira %1 "
                     u"cap a escombratges més ràpids.")
                    .arg(time) };
        return { text(u"El barrido es tan lento que la traza se dibuja a trozos y parpadea: gira %1 hacia "
                      u"barridos más rápidos.")
                     .arg(time),
            text(u"L'escombratge és tan lent que la traça es dibuixa a trossos i parpelleja: gira %1 cap a "
                 u"escombratges més ràpids.")
                .arg(time) };
    }
    // The signal itself is slow: the sweep waits a period for each trigger, whatever TIME/DIV says.
    const QString period = formatQuantity(advice.periodSeconds, QStringLiteral("s"));
    const QString whole = formatSecondsPerDiv(advice.wholePeriodPerDiv);
    const Wording seen = spot
        ? words(u"la ves como un punto que la recorre", u"el veus com un punt que el recorre")
        : words(u"la traza se dibuja a trozos y parpadea", u"la traça es dibuixa a trossos i parpelleja");
    const Wording rest = advice.showsAPeriod
        ? Wording { text(u": es lo normal, porque ningún barrido que muestre un periodo entero se repite lo "
                         u"bastante deprisa para que el fósforo retenga la traza. Sigue el punto con la "
                         u"vista; con "
                         u"%1 "
                         u"más rápido que %2 verías menos de un periodo.")
                        .arg(time, whole),
              text(u": és normal, perquè cap escombratge que mostre un període sencer es repetix prou de "
                   u"pressa perquè el fòsfor retinga la traça. Segueix el punt amb la vista; amb %1 més "
                   u"ràpid que "
                   u"%2 "
                   u"veuries menys d'un període.")
                  .arg(time, whole) }
        : Wording { text(u", y con este ajuste de %1 no cabe un periodo entero: gira %1 hacia barridos más "
                         u"lentos, hasta %2, y sigue el punto con la vista.")
                        .arg(time, whole),
              text(u", i amb este ajust de %1 no hi cap un període sencer: gira %1 cap a escombratges més "
                   u"lents, fins a %2, i segueix el punt amb la vista.")
                  .arg(time, whole) };
    return { text(u"La señal es tan lenta (T = %1) que %2%3").arg(period, seen.castilian, rest.castilian),
        text(u"El senyal és tan lent (T = %1) que %2%3").arg(period, seen.valencian, rest.valencian) };
}

Wording probeTenth(bool second, double heightDivisions)
{
    const QString name = channelName(second);
    const QString height = divisions(heightDivisions);
    const QString volts = label(channelControls(second).volts);
    return { text(
                 u"La sonda ×10 de %1 divide la señal por diez y la traza solo mide %2 divisiones: gira %3 a "
                 u"un paso más sensible y multiplica por 10 lo que leas.")
                 .arg(name, height, volts),
        text(u"La sonda ×10 de %1 dividix el senyal per deu i la traça només fa %2 divisions: gira %3 a un "
             u"pas "
             u"més sensible i multiplica per 10 el que llegisques.")
            .arg(name, height, volts) };
}

Wording defocused(bool spot)
{
    const QString focus = label(C::Focus);
    if (spot)
        return { text(
                     u"El punto sale ancho y borroso porque el haz está desenfocado: gira %1 hasta que quede "
                     u"pequeño y nítido.")
                     .arg(focus),
            text(
                u"El punt ix ample i borrós perquè el feix està desenfocat: gira %1 fins que quede xicotet i "
                u"nítid.")
                .arg(focus) };
    return { text(u"La traza sale ancha y borrosa porque el haz está desenfocado: gira %1 hasta que la línea "
                  u"quede fina.")
                 .arg(focus),
        text(u"La traça ix ampla i borrosa perquè el feix està desenfocat: gira %1 fins que la línia quede "
             u"fina.")
            .arg(focus) };
}

Wording rotated(double degrees)
{
    const QString turn = formatDecimal(std::abs(degrees), { .decimals = 2 });
    const QString tr = label(C::TraceRotation);
    return { text(u"La traza está girada %1° respecto de la retícula: gira %2 hasta que quede paralela a sus "
                  u"líneas.")
                 .arg(turn, tr),
        text(u"La traça està girada %1° respecte de la retícula: gira %2 fins que quede paral·lela a les "
             u"seues "
             u"línies.")
            .arg(turn, tr) };
}

TraceExplanation explanation(const QList<Finding> &found, bool figure)
{
    TraceExplanation e;
    int worded = 0;
    for (const Finding &f : found) {
        e.causes.append(f.cause);
        if (f.words.castilian.isEmpty())
            continue;
        if (++worded > kWordedCauses)
            continue;
        e.castilian += (e.castilian.isEmpty() ? QString() : QStringLiteral(" ")) + f.words.castilian;
        e.valencian += (e.valencian.isEmpty() ? QString() : QStringLiteral(" ")) + f.words.valencian;
    }
    if (worded > kWordedCauses) {
        e.castilian += text(u" Hay algo más: cuando lo arregles, la respuesta dirá qué.");
        e.valencian += text(u" Hi ha alguna cosa més: quan ho arregles, la resposta dirà què.");
    }
    if (e.causes.isEmpty()) {
        const Wording fine = figure
            ? words(u"Nada impide ver la figura: la pantalla muestra una figura X-Y estable.",
                u"Res no impedix veure la figura: la pantalla mostra una figura X-Y estable.")
            : words(u"Nada impide ver la traza: la pantalla muestra una traza estable.",
                u"Res no impedix veure la traça: la pantalla mostra una traça estable.");
        e.castilian = fine.castilian;
        e.valencian = fine.valencian;
    }
    return e;
}

} // namespace TraceWording
