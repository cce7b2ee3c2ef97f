-- Nothing but comments.
/* No table,
   no view. */
;
