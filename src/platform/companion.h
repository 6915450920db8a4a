#pragma once

#include <QPointer>

/**
 * One window of a companion pair: a reading window and its figure window, a screen and its texts.
 * The window remembers the partner it was created with and acts on that one only, so that several
 * pairs of the same kind open at once never reach into each other. The partner is held weakly: a
 * window whose partner is gone simply has none.
 *
 * Partner is the class of the other window; it need only be complete where partner() is used.
 */
template <class Partner> class Companion
{
public:
    /** The window this one was created with; null before pairing or once the partner is gone. */
    Partner *partner() const { return m_partner.data(); }

    /** Remembers the partner. Used through pairWindows(), which pairs both sides at once. */
    void setPartner(Partner *partner) { m_partner = partner; }

protected:
    /**
     * Closes the partner, which hides it. A partner already hidden is left alone, so hiding either
     * window of a pair hides the other and the exchange ends after one step.
     */
    void closePartner()
    {
        if (m_partner && m_partner->isVisible())
            m_partner->close();
    }

private:
    QPointer<Partner> m_partner;
};

/** Pairs two windows created together: each one acts on, and closes with, the other. */
template <class First, class Second> void pairWindows(First *first, Second *second)
{
    first->setPartner(second);
    second->setPartner(first);
}
