// Search scores: Sphinx's own, raised for the pages of functions, since a search of this site
// is most often for a function. A function's page comes first among pages that match a query
// in the same way (a section title, an entry of the index from the task index, an object's
// name, the text); a match in the text of a function's page still ranks below a section title
// of another page, so a query about the array guide's subjects (Dask, errstate, ...) finds the
// guide first.
var Scorer = {
  score: (result) => {
    const [docname, , , , score, , kind] = result;
    const functionPage = /^reference\/(?!group-)[^/]+$/.test(docname);
    return functionPage ? score + (kind === "text" ? 6 : 10) : score;
  },
  objNameMatch: 11,
  objPartialMatch: 6,
  objPrio: { 0: 15, 1: 5, 2: -5 },
  objPrioDefault: 0,
  title: 15,
  partialTitle: 7,
  term: 5,
  partialTerm: 2,
};
