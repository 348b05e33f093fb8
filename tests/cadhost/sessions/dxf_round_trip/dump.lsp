;; Prints every entity of the drawing, in drawing order, without its entity
;; name and owner (which a reopened drawing gives anew).
(defun dump-drawing (/ e data)
  (setq e (entnext))
  (while e
    (setq data (entget e))
    (foreach group data
      (if (not (member (car group) '(-1 330 340 5)))
        (progn (prin1 group) (princ " "))))
    (terpri)
    (setq e (entnext e)))
  (princ))
