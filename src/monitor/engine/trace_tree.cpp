#include "monitor/engine/trace_tree.h"

TraceTree::TraceTree(QObject* parent) : QObject(parent)
{
}

const QList<TreeNode>& TraceTree::nodes() const
{
    return nodes_;
}

void TraceTree::reset()
{
    nodes_.clear();
    nodes_.append(TreeNode{QStringLiteral("IDs"), QStringLiteral("IDs"), QString(), 1, false});
    emit changed();
}

qsizetype TraceTree::indexOf(const QString& key) const
{
    if (key.isEmpty())
        return -1;
    for (qsizetype i = 0; i < nodes_.size(); ++i)
        if (nodes_[i].key == key)
            return i;
    return -1;
}

bool TraceTree::contains(const QString& key) const
{
    return indexOf(key) >= 0;
}

bool TraceTree::add(const QString& parentKey, const QString& key, const QString& text, int image)
{
    if (nodes_.size() >= kMaxNodes || indexOf(parentKey) < 0 || indexOf(key) >= 0)
        return false;
    nodes_.append(TreeNode{key, text, parentKey, image, false});
    emit changed();
    return true;
}

bool TraceTree::remove(const QString& key)
{
    if (indexOf(key) < 0)
        return false;
    // Collect the node and its descendants (element nodes have no key and hang
    // under a terminal's node, so one level of keyless children is the common case).
    QStringList doomed{key};
    for (qsizetype i = 0; i < doomed.size(); ++i)
        for (const TreeNode& n : nodes_)
            if (n.parentKey == doomed[i] && !n.key.isEmpty() && !doomed.contains(n.key))
                doomed.append(n.key);
    nodes_.removeIf([&](const TreeNode& n) { return doomed.contains(n.key) || doomed.contains(n.parentKey); });
    emit changed();
    return true;
}

bool TraceTree::expand(const QString& key)
{
    const qsizetype i = indexOf(key);
    if (i < 0)
        return false;
    if (!nodes_[i].expanded) {
        nodes_[i].expanded = true;
        emit changed();
    }
    return true;
}

void TraceTree::replace(QList<TreeNode> nodes)
{
    if (nodes.size() > kMaxNodes)
        nodes.resize(kMaxNodes);
    nodes_ = std::move(nodes);
    emit changed();
}
