#include "core/installdir/YamlDocument.h"

#include <yaml.h>

struct YamlDocument::Parsed {
    yaml_parser_t parser{};
    yaml_document_t document{};
    bool loaded = false;

    ~Parsed()
    {
        if (loaded)
            yaml_document_delete(&document);
        yaml_parser_delete(&parser);
    }
};

namespace {

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

const yaml_node_t* valueOf(yaml_document_t& document, const yaml_node_t* mapping, const char* key)
{
    if (!mapping || mapping->type != YAML_MAPPING_NODE)
        return nullptr;
    for (const yaml_node_pair_t* pair = mapping->data.mapping.pairs.start;
         pair < mapping->data.mapping.pairs.top; ++pair) {
        const yaml_node_t* name = yaml_document_get_node(&document, pair->key);
        if (name && name->type == YAML_SCALAR_NODE && scalar(*name) == key)
            return yaml_document_get_node(&document, pair->value);
    }
    return nullptr;
}

} // namespace

YamlDocument::YamlDocument(const QByteArray& yaml) : m_parsed(std::make_unique<Parsed>())
{
    yaml_parser_initialize(&m_parsed->parser);
    yaml_parser_set_input_string(&m_parsed->parser,
                                 reinterpret_cast<const unsigned char*>(yaml.constData()),
                                 size_t(yaml.size()));
    m_parsed->loaded = yaml_parser_load(&m_parsed->parser, &m_parsed->document) != 0;
}

YamlDocument::~YamlDocument() = default;

QString YamlDocument::text(std::initializer_list<const char*> keys) const
{
    if (!m_parsed->loaded)
        return {};
    yaml_document_t& document = m_parsed->document;
    const yaml_node_t* node = yaml_document_get_root_node(&document);
    for (const char* key : keys)
        node = valueOf(document, node, key);
    if (!node || node->type != YAML_SCALAR_NODE || isNull(*node))
        return {};
    const QByteArrayView text = scalar(*node);
    return QString::fromUtf8(text.data(), text.size());
}
