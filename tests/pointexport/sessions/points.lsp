;; Point blocks made as the host makes them: the block TZNODE with three
;; attribute definitions, and references with their attributes.
(entmake '((0 . "BLOCK") (2 . "TZNODE") (70 . 2) (10 0.0 0.0 0.0)))
(entmake '((0 . "ATTDEF") (8 . "0") (10 0.0 0.0 0.0) (40 . 1.0) (1 . "") (3 . "Number") (2 . "PNT") (70 . 0)))
(entmake '((0 . "ATTDEF") (8 . "0") (10 0.0 -1.5 0.0) (40 . 1.0) (1 . "") (3 . "Code") (2 . "CODE") (70 . 0)))
(entmake '((0 . "ATTDEF") (8 . "0") (10 0.0 -3.0 0.0) (40 . 1.0) (1 . "") (3 . "Description") (2 . "DESC") (70 . 0)))
(entmake '((0 . "ENDBLK")))

(defun add-point (number x y z description)
  (entmake (list '(0 . "INSERT") '(8 . "0") '(2 . "TZNODE") '(66 . 1) (list 10 x y z)))
  (entmake (list '(0 . "ATTRIB") '(8 . "0") (list 10 x y z) '(40 . 1.0) (cons 1 number) '(2 . "PNT") '(70 . 0)))
  (entmake (list '(0 . "ATTRIB") '(8 . "0") (list 10 x y z) '(40 . 1.0) '(1 . "X") '(2 . "CODE") '(70 . 0)))
  (entmake (list '(0 . "ATTRIB") '(8 . "0") (list 10 x y z) '(40 . 1.0) (cons 1 description) '(2 . "DESC") '(70 . 0)))
  (entmake '((0 . "SEQEND")))
  (princ))
