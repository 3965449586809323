#pragma once

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <memory>

// A YAML document as libyaml reads it, such as the game files of Lutris and
// Bottles. Only texts are read, by the keys of the mappings that lead to
// them from the top.
class YamlDocument {
public:
    explicit YamlDocument(const QByteArray& yaml);
    ~YamlDocument();
    YamlDocument(const YamlDocument&) = delete;
    YamlDocument& operator=(const YamlDocument&) = delete;

    // The text under the keys, one mapping below the other; null where a key
    // is missing, the value is no text or YAML's null, or the document is no
    // YAML at all.
    QString text(std::initializer_list<const char*> keys) const;

private:
    struct Parsed;
    std::unique_ptr<Parsed> m_parsed;
};
