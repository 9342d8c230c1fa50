#pragma once
// Settings elements as plain maps, for the register code without widgets.
// Records every change so tests can see what a reading touched.
#include <QMap>
#include <QStringList>

#include "device/settings_elements.h"

class FakeElements : public SettingsElements {
public:
    QMap<QString, int> checks;
    QMap<QString, int> choices;
    QMap<QString, QString> texts;
    QStringList changes; // "name=value" per set call, in order

    int check(const QString& name) const override { return checks.value(name, 0); }
    void setCheck(const QString& name, int value) override
    {
        checks[name] = value;
        changes << name + u'=' + QString::number(value);
    }
    int choice(const QString& group) const override { return choices.value(group, -1); }
    void setChoice(const QString& group, int index) override
    {
        choices[group] = index;
        changes << group + u'=' + QString::number(index);
    }
    QString text(const QString& name) const override { return texts.value(name); }
    void setText(const QString& name, const QString& text) override
    {
        texts[name] = text;
        changes << name + u'=' + text;
    }
};
