#include "frontpanelmodel.h"

PanelControl *FrontPanelModel::control(const QString &name)
{
    for (PanelControl &c : controls) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

const PanelControl *FrontPanelModel::control(const QString &name) const
{
    return const_cast<FrontPanelModel *>(this)->control(name);
}
