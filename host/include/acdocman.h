// The host's document manager and the per-document data manager that
// plug-ins attach to it.
#pragma once

#include <map>

class AcApDocument;

class AcApDocManagerReactor {
public:
    virtual ~AcApDocManagerReactor() = default;
    virtual void documentToBeDestroyed(AcApDocument* document) { (void)document; }
};

class AcApDocManager {
public:
    virtual ~AcApDocManager() = default;
    virtual AcApDocument* curDocument() const = 0;
    virtual void addReactor(AcApDocManagerReactor* reactor) = 0;
    virtual void removeReactor(AcApDocManagerReactor* reactor) = 0;
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()

// Keeps one T per open document and drops it when the document closes.
template <class T>
class AcApDataManager : public AcApDocManagerReactor {
public:
    AcApDataManager() { acDocManager->addReactor(this); }
    ~AcApDataManager() override { acDocManager->removeReactor(this); }
    AcApDataManager(const AcApDataManager&) = delete;
    AcApDataManager& operator=(const AcApDataManager&) = delete;

    void documentToBeDestroyed(AcApDocument* document) override { data_.erase(document); }
    T& docData(AcApDocument* document) { return data_[document]; }
    T& docData() { return docData(acDocManager->curDocument()); }

private:
    std::map<AcApDocument*, T> data_;
};
