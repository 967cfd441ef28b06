// Element nodes and node collections of the XML layer.
//
// A document is a tree of TVtXMLNode objects. A typed node class declares the
// names of its children in the order its schema gives them (ChildOrder); the
// base class creates children on demand, finds them, and keeps them in that
// order, so the tree serialises in schema order whatever order the caller
// filled it in. Children of the same name stay in the order they were added.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

class TVtXMLDocument;
class TVtXMLNodeCollection;

class TVtXMLNode
{
public:
    explicit TVtXMLNode(const QString &nodeName);
    virtual ~TVtXMLNode();

    TVtXMLNode(const TVtXMLNode &) = delete;
    TVtXMLNode &operator=(const TVtXMLNode &) = delete;

    const QString &NodeName() const { return m_name; }
    TVtXMLNode *ParentNode() const { return m_parent; }

    // The document that owns the tree this node belongs to (null for a
    // node that is not part of a document).
    virtual TVtXMLDocument *OwnerDocument() const;

    // Namespace of the element. A null URI means "inherit the parent's" and
    // is resolved when the node is put in the tree; an empty, non-null URI
    // puts the element in no namespace, which serialises as xmlns="" below
    // an element with a default namespace.
    const QString &NamespaceURI() const { return m_namespaceURI; }
    void SetNamespaceURI(const QString &uri);
    // Prefixed namespace declarations written on this element ("xsi", ...).
    void DeclareNamespace(const QString &prefix, const QString &uri);
    const std::vector<std::pair<QString, QString>> &NamespaceDeclarations() const;

    const QString &Text() const { return m_text; }
    void SetText(const QString &text) { m_text = text; }

    bool HasAttribute(const QString &name) const;
    QString Attribute(const QString &name) const;
    // Attributes keep the order in which they were first set.
    void SetAttribute(const QString &name, const QString &value);
    const std::vector<std::pair<QString, QString>> &Attributes() const;

    int ChildCount() const { return int(m_children.size()); }
    TVtXMLNode *ChildAt(int index) const { return m_children.at(size_t(index)).get(); }
    // First child element with this name, or null.
    TVtXMLNode *FindChild(const QString &name) const;
    bool HasChild(const QString &name) const { return FindChild(name) != nullptr; }

    // Text of the child element with this name; empty when it is missing
    // (reading does not create it).
    QString ChildText(const QString &name) const;
    // Writes the text of the child element, creating it when missing.
    void SetChildText(const QString &name, const QString &text);

protected:
    // Names of the children in the order the element's type declares them.
    // Children whose name is not declared go after the declared ones.
    virtual const QStringList &ChildOrder() const;

    // The child node of this name, created (empty) on first access.
    template <class T>
    T *Child(const QString &name)
    {
        const int order = OrderIndex(name);
        if (TVtXMLNode *found = FindChildAt(name, order))
            return static_cast<T *>(found);
        return static_cast<T *>(InsertChildAt(std::make_unique<T>(name), order, nullptr));
    }

    // The list object that manages the repeating children of this name.
    template <class L>
    L *List(const QString &itemName)
    {
        if (TVtXMLNodeCollection *found = FindList(itemName))
            return static_cast<L *>(found);
        auto list = std::make_unique<L>(this, itemName);
        L *result = list.get();
        AddList(std::move(list));
        return result;
    }

private:
    friend class TVtXMLNodeCollection;

    // Puts child in the tree: before `before` when given (a sibling of the
    // same name), otherwise after the last child that the schema order
    // places at or before it.
    TVtXMLNode *InsertChild(std::unique_ptr<TVtXMLNode> child, const TVtXMLNode *before);
    // The same with the position of the name in ChildOrder worked out.
    TVtXMLNode *InsertChildAt(std::unique_ptr<TVtXMLNode> child, int order, const TVtXMLNode *before);
    TVtXMLNode *FindChildAt(const QString &name, int order) const;
    int OrderIndex(const QString &name) const;
    TVtXMLNodeCollection *FindList(const QString &itemName) const;
    void AddList(std::unique_ptr<TVtXMLNodeCollection> list);

    // What few elements have: namespace declarations, attributes and the
    // list objects of repeating children. Kept apart, so that the many
    // elements that are a name and a text stay small.
    struct Extras
    {
        std::vector<std::pair<QString, QString>> nsDeclarations;
        std::vector<std::pair<QString, QString>> attributes;
        std::vector<std::unique_ptr<TVtXMLNodeCollection>> lists;
    };
    Extras &extras();

    QString m_name;
    QString m_namespaceURI;
    QString m_text;
    std::vector<std::unique_ptr<TVtXMLNode>> m_children;
    std::unique_ptr<Extras> m_extras;
    TVtXMLNode *m_parent = nullptr;
    int m_order = 0; // position of this node's name in its parent's order
};

// The repeating children of one name below a holder element. The items stay
// children of the holder (the collection only keeps them in order); a node
// type that is itself a list passes itself as the holder.
class TVtXMLNodeCollection
{
public:
    TVtXMLNodeCollection(TVtXMLNode *holder, const QString &itemTag);
    virtual ~TVtXMLNodeCollection();

    TVtXMLNodeCollection(const TVtXMLNodeCollection &) = delete;
    TVtXMLNodeCollection &operator=(const TVtXMLNodeCollection &) = delete;

    const QString &ItemTag() const { return m_itemTag; }
    int Count() const { return int(m_items.size()); }

protected:
    virtual std::unique_ptr<TVtXMLNode> CreateItem() const;

    TVtXMLNode *AddItem();
    // Inserts before the item at index; index == Count() appends.
    TVtXMLNode *InsertItem(int index);
    TVtXMLNode *ItemAt(int index) const;

private:
    TVtXMLNode *m_holder;
    QString m_itemTag;
    std::vector<TVtXMLNode *> m_items; // owned by the holder
};

// A list of repeating complex children of type T.
template <class T>
class TVtXMLNodeList : public TVtXMLNodeCollection
{
public:
    using TVtXMLNodeCollection::TVtXMLNodeCollection;

    T *Add() { return static_cast<T *>(AddItem()); }
    T *Insert(int index) { return static_cast<T *>(InsertItem(index)); }
    T *Items(int index) const { return static_cast<T *>(ItemAt(index)); }

protected:
    std::unique_ptr<TVtXMLNode> CreateItem() const override
    {
        return std::make_unique<T>(ItemTag());
    }
};

// A list of repeating text children.
class TVtXMLTextList : public TVtXMLNodeCollection
{
public:
    using TVtXMLNodeCollection::TVtXMLNodeCollection;

    void Add(const QString &text);
    void Insert(int index, const QString &text);
    QString Items(int index) const;
};
