// What a screen reader's voice is given to say of the instrument: the readings of the HM-203's controls
// and the generator's values with their units, signs and factors in words, in both languages.
#include "hm203.h"
#include "scopesettings.h"
#include "spokenwords.h"

#include <QtTest>

#include <cmath>

using C = Hm203Control;

namespace {

/** The digits of a text with the decimal commas between them, in order: the number a reading carries. */
QString numberIn(const QString &text)
{
    QString digits;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool decimalComma = text.at(i) == u',' && i > 0 && i + 1 < text.size()
            && text.at(i - 1).isDigit() && text.at(i + 1).isDigit();
        if (text.at(i).isDigit() || decimalComma)
            digits += text.at(i);
    }
    return digits;
}

} // namespace

class TestSpokenReadings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controlsReadInWords_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("castilian");
        QTest::addColumn<QString>("valencian");
        const auto row = [](const char *name, C c, int position, const char16_t *es, const char16_t *va) {
            QTest::newRow(name) << int(c) << position << QString::fromUtf16(es) << QString::fromUtf16(va);
        };
        row("opening sweep", C::TimeDiv, 9, u"0,2 milisegundos por división",
            u"0,2 mil·lisegons per divisió");
        row("fastest sweep", C::TimeDiv, 17, u"0,5 microsegundos por división",
            u"0,5 microsegons per divisió");
        row("one microsecond", C::TimeDiv, Hm203::timeDivPosition(1e-6), u"1 microsegundo por división",
            u"1 microsegon per divisió");
        row("one millisecond", C::TimeDiv, Hm203::timeDivPosition(1e-3), u"1 milisegundo por división",
            u"1 mil·lisegon per divisió");
        row("slowest sweep", C::TimeDiv, 0, u"0,2 segundos por división", u"0,2 segons per divisió");
        row("5 mV", C::VoltsDivII, 11, u"5 milivoltios por división", u"5 mil·livolts per divisió");
        row("50 mV", C::VoltsDivI, Hm203::voltsDivPosition(0.05), u"50 milivoltios por división",
            u"50 mil·livolts per divisió");
        // The switch stays in volts from 0,1 V up, as the panel prints it.
        row("0,1 V", C::VoltsDivI, Hm203::voltsDivPosition(0.1), u"0,1 voltios por división",
            u"0,1 volts per divisió");
        row("one volt", C::VoltsDivI, 4, u"1 voltio por división", u"1 volt per divisió");
        row("20 V", C::VoltsDivII, 0, u"20 voltios por división", u"20 volts per divisió");
        row("CAL at its stop", C::TimeCal, 100, u"calibrado", u"calibrat");
        row("CAL part way", C::TimeCal, 40, u"sin calibrar, por 1,9", u"sense calibrar, per 1,9");
        row("CAL fully back", C::VoltsCalII, 0, u"sin calibrar, por 2,5", u"sense calibrar, per 2,5");
        row("level below", C::Level, -15, u"1,5 divisiones por debajo de cero",
            u"1,5 divisions per davall de zero");
        row("level above", C::Level, 10, u"1,0 divisiones por encima de cero",
            u"1,0 divisions per damunt de zero");
        row("trace up", C::YPositionII, 20, u"2,0 divisiones por encima del centro",
            u"2,0 divisions per damunt del centre");
        row("trace down", C::YPositionI, -5, u"0,5 divisiones por debajo del centro",
            u"0,5 divisions per davall del centre");
        row("trace right", C::XPosition, 10, u"1,0 divisiones a la derecha del centro",
            u"1,0 divisions a la dreta del centre");
        row("trace left", C::XPosition, -60, u"6,0 divisiones a la izquierda del centro",
            u"6,0 divisions a l'esquerra del centre");
        row("centred", C::XPosition, 0, u"centro", u"centre");
        row("intensity", C::Intensity, 35, u"35 por ciento", u"35 per cent");
        row("hold off", C::HoldOff, 100, u"100 por ciento", u"100 per cent");
        row("turned clockwise", C::TraceRotation, -20, u"1,00 grados en sentido horario",
            u"1,00 graus en sentit horari");
        row("turned back", C::TraceRotation, 1, u"0,05 grados en sentido antihorario",
            u"0,05 graus en sentit antihorari");
        row("not turned", C::TraceRotation, 0, u"0,00 grados", u"0,00 graus");
        row("AC trigger", C::TriggerCoupling, 0, u"A C", u"A C");
        row("HF trigger", C::TriggerCoupling, 2, u"H F", u"H F");
        row("mains trigger", C::TriggerCoupling, 4, u"red", u"xarxa");
        row("AT", C::AtNorm, 0, u"AT", u"AT");
        row("NORM", C::AtNorm, 1, u"NORM", u"NORM");
        row("DC coupling", C::DcI, 1, u"D C", u"D C");
        row("AC coupling", C::DcII, 0, u"A C", u"A C");
        row("channel II", C::ChannelII, 1, u"CH II", u"CH II");
        row("falling slope", C::Slope, 1, u"flanco de bajada", u"flanc de baixada");
        row("rising slope", C::Slope, 0, u"flanco de subida", u"flanc de pujada");
        // A button that is only in or out leaves it to its checked state.
        row("DUAL in", C::Dual, 1, u"", u"");
        row("POWER out", C::Power, 0, u"", u"");
    }
    void controlsReadInWords()
    {
        QFETCH(int, control);
        QFETCH(int, position);
        QFETCH(QString, castilian);
        QFETCH(QString, valencian);
        Hm203 scope;
        QCOMPARE(scope.spokenReadingAt(C(control), position, Language::Castilian), castilian);
        QCOMPARE(scope.spokenReadingAt(C(control), position, Language::Valencian), valencian);
        scope.setValue(C(control), position);
        QCOMPARE(scope.spokenValueText(C(control), Language::Castilian), castilian);
    }

    void aScaleSaysWhenItsFineKnobIsOff_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("cal");
        QTest::newRow("TIME/DIV") << int(C::TimeDiv) << int(C::TimeCal);
        QTest::newRow("VOLTS/DIV I") << int(C::VoltsDivI) << int(C::VoltsCalI);
        QTest::newRow("VOLTS/DIV II") << int(C::VoltsDivII) << int(C::VoltsCalII);
    }
    void aScaleSaysWhenItsFineKnobIsOff()
    {
        QFETCH(int, range);
        QFETCH(int, cal);
        Hm203 scope;
        const QString es = scope.spokenValueText(C(range), Language::Castilian);
        const QString va = scope.spokenValueText(C(range), Language::Valencian);
        QVERIFY(es.endsWith(QString::fromUtf16(u"por división")));
        scope.setValue(C(cal), 99);
        QCOMPARE(scope.spokenValueText(C(range), Language::Castilian), es + QStringLiteral(", sin calibrar"));
        QCOMPARE(
            scope.spokenValueText(C(range), Language::Valencian), va + QStringLiteral(", sense calibrar"));
        for (const C other : { C::TimeDiv, C::VoltsDivI, C::VoltsDivII }) {
            if (other != C(range))
                QVERIFY(
                    !scope.spokenValueText(other, Language::Castilian).contains(QStringLiteral("calibrar")));
        }
    }

    void everySpokenReadingCarriesTheShownNumber_data()
    {
        QTest::addColumn<bool>("castilian");
        QTest::newRow("castellano") << true;
        QTest::newRow("valencià") << false;
    }
    void everySpokenReadingCarriesTheShownNumber()
    {
        // Whatever a student reaches, the voice says the number the tooltip shows, and no symbol a
        // synthesiser misreads or skips.
        QFETCH(bool, castilian);
        const Language language = castilian ? Language::Castilian : Language::Valencian;
        Hm203 scope;
        scope.setValue(C::TimeCal, 30);
        const QString symbols = QString::fromUtf16(u"µ×−-+%°/~");
        for (const Hm203ControlInfo &info : hm203Controls()) {
            for (int position = info.minimum; position <= info.maximum; ++position) {
                const QString shown = scope.readingAt(info.id, position, language);
                const QString spoken = scope.spokenReadingAt(info.id, position, language);
                const QString where = QStringLiteral("%1 at %2: %3").arg(shown).arg(position).arg(spoken);
                QVERIFY2(numberIn(spoken) == numberIn(shown), qPrintable(where));
                for (QChar symbol : symbols)
                    QVERIFY2(!spoken.contains(symbol), qPrintable(where));
                if (info.style == ControlStyle::Button)
                    QVERIFY2(!spoken.contains(shown), qPrintable(where));
                else
                    QVERIFY2(!spoken.isEmpty(), qPrintable(where));
            }
        }
    }

    void quantitiesInWords_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("exponent");
        QTest::addColumn<QString>("castilian");
        QTest::addColumn<QString>("valencian");
        const auto row = [](const char *name, const char16_t *number, SpokenUnit unit, int exponent,
                             const char16_t *es, const char16_t *va) {
            QTest::newRow(name) << QString::fromUtf16(number) << int(unit) << exponent
                                << QString::fromUtf16(es) << QString::fromUtf16(va);
        };
        row("one volt", u"1", SpokenUnit::Volt, 0, u"1 voltio", u"1 volt");
        row("a volt and a half", u"1,5", SpokenUnit::Volt, 0, u"1,5 voltios", u"1,5 volts");
        // "1,0" is read "uno coma cero", a plural in both grammars.
        row("one point nought", u"1,0", SpokenUnit::Division, 0, u"1,0 divisiones", u"1,0 divisions");
        row("hyphen", u"-1,00", SpokenUnit::Volt, 0, u"menos 1,00 voltios", u"menys 1,00 volts");
        row("minus sign", u"\u221290", SpokenUnit::Degree, 0, u"menos 90 grados", u"menys 90 graus");
        row("plus sign", u"+5", SpokenUnit::Degree, 0, u"5 grados", u"5 graus");
        row("one degree", u"1", SpokenUnit::Degree, 0, u"1 grado", u"1 grau");
        row("one hertz", u"1", SpokenUnit::Hertz, 0, u"1 hercio", u"1 hertz");
        row("a kilohertz", u"1000", SpokenUnit::Hertz, 0, u"1000 hercios", u"1000 hertzs");
        row("kilohertz", u"2", SpokenUnit::Hertz, 3, u"2 kilohercios", u"2 kilohertzs");
        row("nanoseconds", u"50", SpokenUnit::Second, -9, u"50 nanosegundos", u"50 nanosegons");
        row("peak to peak", u"4,00", SpokenUnit::VoltPeakToPeak, 0, u"4,00 voltios de pico a pico",
            u"4,00 volts de pic a pic");
        row("rms", u"0,20", SpokenUnit::VoltRms, 0, u"0,20 voltios eficaces", u"0,20 volts eficaços");
        row("one volt rms", u"1", SpokenUnit::VoltRms, 0, u"1 voltio eficaz", u"1 volt eficaç");
        row("percent", u"1", SpokenUnit::Percent, 0, u"1 por ciento", u"1 per cent");
        row("no unit", u"0,80", SpokenUnit::None, 0, u"0,80", u"0,80");
    }
    void quantitiesInWords()
    {
        QFETCH(QString, number);
        QFETCH(int, unit);
        QFETCH(int, exponent);
        QFETCH(QString, castilian);
        QFETCH(QString, valencian);
        QCOMPARE(spokenQuantity(number, SpokenUnit(unit), Language::Castilian, exponent), castilian);
        QCOMPARE(spokenQuantity(number, SpokenUnit(unit), Language::Valencian, exponent), valencian);
    }

    void aScaleIsPrintedAndSpokenInOneUnit()
    {
        // The prefix the panel prints is the one the voice names: millivolts only below 0,1 V.
        for (double volts : voltsPerDivSteps()) {
            const PrefixedNumber n = voltsPerDivNumber(volts);
            QCOMPARE(n.exponent, volts < 0.1 * 0.999 ? -3 : 0);
            QVERIFY(formatVoltsPerDiv(volts).startsWith(n.digits + QLatin1Char(' ')));
        }
        for (double seconds : secondsPerDivSteps()) {
            const PrefixedNumber n = secondsPerDivNumber(seconds);
            const double number = seconds / std::pow(10.0, n.exponent);
            QVERIFY2(number >= 0.1 * 0.999 && number < 1000.0, qPrintable(formatSecondsPerDiv(seconds)));
        }
    }
};

QTEST_APPLESS_MAIN(TestSpokenReadings)
#include "tst_spokenreadings.moc"
