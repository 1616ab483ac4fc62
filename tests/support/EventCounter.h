#pragma once
// Counts the events of one type that reach each object while it lives (paints, layout requests),
// so a test can tell which widgets an action repainted or laid out again.

#include <QEvent>
#include <QObject>

#include <map>

class EventCounter final : public QObject {
public:
    explicit EventCounter(QEvent::Type type);
    ~EventCounter() override;

    int Count(const QObject* target) const;
    void Reset() { m_counts.clear(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QEvent::Type m_type;
    std::map<const QObject*, int> m_counts;
};
