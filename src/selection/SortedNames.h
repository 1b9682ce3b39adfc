#pragma once

#include "core/FolderContent.h"

#include <QStringList>
#include <QStringView>

#include <memory>

// Gathers names and returns them sorted by name without regard to case;
// names equal but for case keep a fixed order (by their exact text). Made
// for large folders: no allocation per name, and a radix sort on packed
// keys of the folded names instead of a comparison sort.
class SortedNames
{
public:
    SortedNames();
    ~SortedNames();
    SortedNames(const SortedNames &) = delete;
    SortedNames &operator=(const SortedNames &) = delete;

    // From here on each name carries what the folder listing reported
    // about its file through the sort, for takeSharing() to return in list
    // order. withReadOrder: ListedFile::order too, as the caller gave it.
    void keepFileFacts(bool withReadOrder = false);

    // Room for an ASCII name of `length` characters after the names gathered
    // so far, valid until the next call; a name written there is taken by
    // commitAscii() without a copy.
    char *asciiRoom(size_t length);
    // Takes the `length` ASCII characters just written to asciiRoom() as the
    // next name.
    void commitAscii(size_t length, const FolderContent::ListedFile &facts = {});
    void add(QStringView name, const FolderContent::ListedFile &facts = {});
    // The names gathered, sorted; the gatherer is empty afterwards.
    QStringList take();
    // The same, with the names' text one after another in *text, which the
    // names refer to instead of holding a copy each: *text must outlive
    // them and stay unchanged. For lists of a great many names. With
    // keepFileFacts(), *facts gets each name's facts in the same order; it
    // stays empty where the names were too long to sort the fast way.
    QStringList takeSharing(QString *text, std::vector<FolderContent::ListedFile> *facts = nullptr);

private:
    class Gatherer;
    std::unique_ptr<Gatherer> d;
};
