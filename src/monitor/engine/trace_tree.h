#pragma once
// TreeIDs of the debug view: one node per active terminal ("ID 81") under the
// root "IDs", element nodes below. The engine keeps it; the window draws it.
#include <QList>
#include <QObject>
#include <QString>

struct TreeNode {
    QString key, text, parentKey;
    int image = 0;
    bool expanded = false;
};

class TraceTree : public QObject {
    Q_OBJECT
public:
    // A terminal that never clears its calls would otherwise grow the tree forever.
    static constexpr int kMaxNodes = 5000;

    explicit TraceTree(QObject* parent = nullptr);

    const QList<TreeNode>& nodes() const;
    // Empties the tree and adds the root "IDs".
    void reset();
    // Adds a child of parentKey. Fails (false, nothing changes) when the parent
    // is missing or a non-empty key exists already, as the tree control does.
    bool add(const QString& parentKey, const QString& key, const QString& text, int image);
    // Removes the node and everything below it; false when there is no such key.
    bool remove(const QString& key);
    bool expand(const QString& key);
    // The whole tree at once, as another engine's tree has it (a service's).
    void replace(QList<TreeNode> nodes);
    bool contains(const QString& key) const;

signals:
    void changed();

private:
    qsizetype indexOf(const QString& key) const;

    QList<TreeNode> nodes_;
};
