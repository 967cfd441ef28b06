#include "VtXmlNode.h"

#include <QtGlobal>

TVtXMLNode::TVtXMLNode(const QString &nodeName)
    : m_name(nodeName)
{
}

TVtXMLNode::~TVtXMLNode() = default;

TVtXMLDocument *TVtXMLNode::OwnerDocument() const
{
    return m_parent ? m_parent->OwnerDocument() : nullptr;
}

void TVtXMLNode::SetNamespaceURI(const QString &uri)
{
    // A null URI asks to inherit; "" (empty, not null) means no namespace.
    m_namespaceURI = uri;
}

namespace {

const std::vector<std::pair<QString, QString>> &noPairs()
{
    static const std::vector<std::pair<QString, QString>> none;
    return none;
}

// Names mostly come from the same literals, so equal data is checked first.
bool sameName(const QString &a, const QString &b)
{
    return a.size() == b.size() && (a.constData() == b.constData() || a == b);
}

} // namespace

TVtXMLNode::Extras &TVtXMLNode::extras()
{
    if (!m_extras)
        m_extras = std::make_unique<Extras>();
    return *m_extras;
}

const std::vector<std::pair<QString, QString>> &TVtXMLNode::NamespaceDeclarations() const
{
    return m_extras ? m_extras->nsDeclarations : noPairs();
}

const std::vector<std::pair<QString, QString>> &TVtXMLNode::Attributes() const
{
    return m_extras ? m_extras->attributes : noPairs();
}

void TVtXMLNode::DeclareNamespace(const QString &prefix, const QString &uri)
{
    auto &declarations = extras().nsDeclarations;
    for (auto &decl : declarations) {
        if (decl.first == prefix) {
            decl.second = uri;
            return;
        }
    }
    declarations.emplace_back(prefix, uri);
}

bool TVtXMLNode::HasAttribute(const QString &name) const
{
    for (const auto &attr : Attributes())
        if (attr.first == name)
            return true;
    return false;
}

QString TVtXMLNode::Attribute(const QString &name) const
{
    for (const auto &attr : Attributes())
        if (attr.first == name)
            return attr.second;
    return QString();
}

void TVtXMLNode::SetAttribute(const QString &name, const QString &value)
{
    auto &attributes = extras().attributes;
    for (auto &attr : attributes) {
        if (attr.first == name) {
            attr.second = value;
            return;
        }
    }
    attributes.emplace_back(name, value);
}

TVtXMLNode *TVtXMLNode::FindChild(const QString &name) const
{
    return FindChildAt(name, OrderIndex(name));
}

TVtXMLNode *TVtXMLNode::FindChildAt(const QString &name, int order) const
{
    // Children are kept in schema order, so the search can stop at the first
    // child that the order places after the wanted one.
    for (const auto &child : m_children) {
        if (child->m_order > order)
            break;
        if (child->m_order == order && sameName(child->m_name, name))
            return child.get();
    }
    return nullptr;
}

QString TVtXMLNode::ChildText(const QString &name) const
{
    const TVtXMLNode *child = FindChild(name);
    return child ? child->m_text : QString();
}

void TVtXMLNode::SetChildText(const QString &name, const QString &text)
{
    const int order = OrderIndex(name);
    TVtXMLNode *child = FindChildAt(name, order);
    if (!child)
        child = InsertChildAt(std::make_unique<TVtXMLNode>(name), order, nullptr);
    child->m_text = text;
}

const QStringList &TVtXMLNode::ChildOrder() const
{
    static const QStringList none;
    return none;
}

int TVtXMLNode::OrderIndex(const QString &name) const
{
    const QStringList &order = ChildOrder();
    int index = -1;
    for (qsizetype i = 0; i < order.size(); ++i) {
        if (sameName(order.at(i), name)) {
            index = int(i);
            break;
        }
    }
    Q_ASSERT_X(index >= 0 || order.isEmpty(), "TVtXMLNode",
               qPrintable(QStringLiteral("%1 declares no child %2").arg(m_name, name)));
    return index >= 0 ? index : int(order.size());
}

TVtXMLNode *TVtXMLNode::InsertChild(std::unique_ptr<TVtXMLNode> child, const TVtXMLNode *before)
{
    const int order = OrderIndex(child->m_name);
    return InsertChildAt(std::move(child), order, before);
}

TVtXMLNode *TVtXMLNode::InsertChildAt(std::unique_ptr<TVtXMLNode> child, int order, const TVtXMLNode *before)
{
    child->m_parent = this;
    child->m_order = order;
    if (child->m_namespaceURI.isNull())
        child->m_namespaceURI = m_namespaceURI;

    auto pos = m_children.end();
    if (before) {
        for (pos = m_children.begin(); pos != m_children.end(); ++pos)
            if (pos->get() == before)
                break;
        Q_ASSERT(pos != m_children.end());
    } else {
        // Scan from the end: appending a repeating child is the usual case
        // and then stops at once.
        while (pos != m_children.begin() && (*(pos - 1))->m_order > child->m_order)
            --pos;
    }
    return m_children.insert(pos, std::move(child))->get();
}

TVtXMLNodeCollection *TVtXMLNode::FindList(const QString &itemName) const
{
    if (!m_extras)
        return nullptr;
    for (const auto &list : m_extras->lists)
        if (sameName(list->ItemTag(), itemName))
            return list.get();
    return nullptr;
}

void TVtXMLNode::AddList(std::unique_ptr<TVtXMLNodeCollection> list)
{
    extras().lists.push_back(std::move(list));
}

// ---------------------------------------------------------------------------

TVtXMLNodeCollection::TVtXMLNodeCollection(TVtXMLNode *holder, const QString &itemTag)
    : m_holder(holder)
    , m_itemTag(itemTag)
{
}

TVtXMLNodeCollection::~TVtXMLNodeCollection() = default;

std::unique_ptr<TVtXMLNode> TVtXMLNodeCollection::CreateItem() const
{
    return std::make_unique<TVtXMLNode>(m_itemTag);
}

TVtXMLNode *TVtXMLNodeCollection::AddItem()
{
    return InsertItem(Count());
}

TVtXMLNode *TVtXMLNodeCollection::InsertItem(int index)
{
    Q_ASSERT_X(index >= 0 && index <= Count(), "TVtXMLNodeCollection::Insert", "index out of range");
    index = qBound(0, index, Count());
    const TVtXMLNode *before = index < Count() ? m_items[size_t(index)] : nullptr;
    TVtXMLNode *item = m_holder->InsertChild(CreateItem(), before);
    m_items.insert(m_items.begin() + index, item);
    return item;
}

TVtXMLNode *TVtXMLNodeCollection::ItemAt(int index) const
{
    return m_items.at(size_t(index));
}

// ---------------------------------------------------------------------------

void TVtXMLTextList::Add(const QString &text)
{
    AddItem()->SetText(text);
}

void TVtXMLTextList::Insert(int index, const QString &text)
{
    InsertItem(index)->SetText(text);
}

QString TVtXMLTextList::Items(int index) const
{
    return ItemAt(index)->Text();
}
