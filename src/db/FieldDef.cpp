#include "db/FieldDef.h"

namespace tav {

FieldDef FieldDef::shown(const QString& name, const QString& caption, int width,
                         const QString& format)
{
    FieldDef d;
    d.name = name;
    d.caption = caption;
    d.displayWidth = width;
    d.displayFormat = format;
    return d;
}

FieldDef FieldDef::hiddenField(const QString& name, const QString& caption, int width)
{
    FieldDef d = shown(name, caption, width);
    d.hidden = true;
    return d;
}

FieldDef FieldDef::calc(const QString& name, const QString& caption, JetType type, int size,
                        int width)
{
    FieldDef d = shown(name, caption, width);
    d.calculated = true;
    d.calcType = type;
    d.calcSize = size;
    return d;
}

} // namespace tav
