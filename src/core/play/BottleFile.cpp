#include "core/play/BottleFile.h"

#include <yaml.h>

namespace {

// A parsed document, deleted with the parser when it goes out of scope.
class Document {
public:
    explicit Document(const QByteArray& yaml)
    {
        yaml_parser_initialize(&m_parser);
        yaml_parser_set_input_string(
            &m_parser, reinterpret_cast<const unsigned char*>(yaml.constData()), yaml.size());
        m_loaded = yaml_parser_load(&m_parser, &m_document) != 0;
    }
    ~Document()
    {
        if (m_loaded)
            yaml_document_delete(&m_document);
        yaml_parser_delete(&m_parser);
    }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The node, or nothing for an empty document or a bad index.
    yaml_node_t* node(int index)
    {
        return m_loaded ? yaml_document_get_node(&m_document, index) : nullptr;
    }
    yaml_node_t* root() { return m_loaded ? yaml_document_get_root_node(&m_document) : nullptr; }

private:
    yaml_parser_t m_parser{};
    yaml_document_t m_document{};
    bool m_loaded = false;
};

QString scalarText(const yaml_node_t* node)
{
    if (!node || node->type != YAML_SCALAR_NODE)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(node->data.scalar.value),
                             qsizetype(node->data.scalar.length));
}

} // namespace

QString BottleFile::name(const QByteArray& yaml)
{
    Document document(yaml);
    const yaml_node_t* root = document.root();
    if (!root || root->type != YAML_MAPPING_NODE)
        return {};
    for (const yaml_node_pair_t* pair = root->data.mapping.pairs.start;
         pair < root->data.mapping.pairs.top; ++pair) {
        if (scalarText(document.node(pair->key)) == QLatin1String("Name"))
            return scalarText(document.node(pair->value));
    }
    return {};
}
