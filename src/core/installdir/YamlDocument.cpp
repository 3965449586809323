#include "core/installdir/YamlDocument.h"

#include <QLibrary>

#include <yaml.h>

#include <optional>

namespace {

// libyaml, loaded the first time a YAML file is read: only a first start's
// search and --play read one, and a library loaded at every start costs
// every start its memory (scripts/bench's idle memory).
struct Yaml {
    decltype(&yaml_parser_initialize) parserInitialize;
    decltype(&yaml_parser_set_input_string) setInputString;
    decltype(&yaml_parser_load) load;
    decltype(&yaml_parser_delete) parserDelete;
    decltype(&yaml_document_get_root_node) rootNode;
    decltype(&yaml_document_get_node) node;
    decltype(&yaml_document_delete) documentDelete;

    // None where the library can't be loaded: no YAML is read then.
    static const Yaml* library()
    {
        static const std::optional<Yaml> loaded = resolved();
        return loaded ? &*loaded : nullptr;
    }

private:
    static std::optional<Yaml> resolved()
    {
        static QLibrary library(QStringLiteral("yaml-0"), 2);
        const auto find = [](const char* name) { return library.resolve(name); };
        Yaml yaml{
            reinterpret_cast<decltype(&yaml_parser_initialize)>(find("yaml_parser_initialize")),
            reinterpret_cast<decltype(&yaml_parser_set_input_string)>(
                find("yaml_parser_set_input_string")),
            reinterpret_cast<decltype(&yaml_parser_load)>(find("yaml_parser_load")),
            reinterpret_cast<decltype(&yaml_parser_delete)>(find("yaml_parser_delete")),
            reinterpret_cast<decltype(&yaml_document_get_root_node)>(
                find("yaml_document_get_root_node")),
            reinterpret_cast<decltype(&yaml_document_get_node)>(find("yaml_document_get_node")),
            reinterpret_cast<decltype(&yaml_document_delete)>(find("yaml_document_delete"))};
        const bool complete = yaml.parserInitialize && yaml.setInputString && yaml.load
                              && yaml.parserDelete && yaml.rootNode && yaml.node
                              && yaml.documentDelete;
        return complete ? std::optional(yaml) : std::nullopt;
    }
};

QByteArrayView scalar(const yaml_node_t& node)
{
    return {reinterpret_cast<const char*>(node.data.scalar.value),
            qsizetype(node.data.scalar.length)};
}

// YAML's null: "~", "null" in three spellings, or nothing, written plain.
bool isNull(const yaml_node_t& node)
{
    const QByteArrayView text = scalar(node);
    return node.data.scalar.style == YAML_PLAIN_SCALAR_STYLE
           && (text.isEmpty() || text == "~" || text == "null" || text == "Null" || text == "NULL");
}

} // namespace

struct YamlDocument::Parsed {
    explicit Parsed(const Yaml& library) : yaml(library) {}
    Parsed(const Parsed&) = delete;
    Parsed& operator=(const Parsed&) = delete;

    const Yaml& yaml;
    yaml_parser_t parser{};
    yaml_document_t document{};
    bool loaded = false;

    ~Parsed()
    {
        if (loaded)
            yaml.documentDelete(&document);
        yaml.parserDelete(&parser);
    }

    const yaml_node_t* valueOf(const yaml_node_t* mapping, const char* key)
    {
        if (!mapping || mapping->type != YAML_MAPPING_NODE)
            return nullptr;
        for (const yaml_node_pair_t* pair = mapping->data.mapping.pairs.start;
             pair < mapping->data.mapping.pairs.top; ++pair) {
            const yaml_node_t* name = yaml.node(&document, pair->key);
            if (name && name->type == YAML_SCALAR_NODE && scalar(*name) == key)
                return yaml.node(&document, pair->value);
        }
        return nullptr;
    }
};

YamlDocument::YamlDocument(const QByteArray& yaml)
{
    const Yaml* library = Yaml::library();
    if (!library)
        return;
    m_parsed = std::make_unique<Parsed>(*library);
    library->parserInitialize(&m_parsed->parser);
    library->setInputString(&m_parsed->parser,
                            reinterpret_cast<const unsigned char*>(yaml.constData()),
                            size_t(yaml.size()));
    m_parsed->loaded = library->load(&m_parsed->parser, &m_parsed->document) != 0;
}

YamlDocument::~YamlDocument() = default;

QString YamlDocument::text(std::initializer_list<const char*> keys) const
{
    if (!m_parsed || !m_parsed->loaded)
        return {};
    const yaml_node_t* node = m_parsed->yaml.rootNode(&m_parsed->document);
    for (const char* key : keys)
        node = m_parsed->valueOf(node, key);
    if (!node || node->type != YAML_SCALAR_NODE || isNull(*node))
        return {};
    const QByteArrayView text = scalar(*node);
    return QString::fromUtf8(text.data(), text.size());
}
