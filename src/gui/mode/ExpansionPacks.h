#pragma once

class Module1;
class QCheckBox;
class QLabel;
class QString;

// The two check boxes that say which expansion packs are installed: RTR in
// the folder "xpack1" and SW in "xpack2".
class ExpansionPacks {
public:
    explicit ExpansionPacks(Module1& module) : m(module) {}

    void check1Click();
    void check2Click();

private:
    void packClick(const QString& tag, const QCheckBox& box, QString& value, QLabel& label);

    Module1& m;
};
